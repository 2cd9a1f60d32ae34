// libFuzzer target: see FuzzSettings in fuzzentry.h.
#include <cstdio>
#include <cstdlib>

#include "fuzzentry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fault = brenvik::fuzz::FuzzSettings(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "brenvik fuzz: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
