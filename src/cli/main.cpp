#include <cstdio>

int main() {
    std::puts("brenvik-cli: under construction");
    return 0;
}
