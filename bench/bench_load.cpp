// brenvik_bench: generates benchmark logs and times a full load of one.
//   brenvik_bench gen FILE LINES [SEED]
//   brenvik_bench load FILE [--no-limits]
//   brenvik_bench alarms FILE LINES   one fix, then LINES alarm sentences without a time
#include <sys/resource.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "genlog.h"
#include "parse/loader.h"
#include "session.h"

namespace {

// Messages go to stderr; questions are answered Yes, as a user keen on the result would.
class BenchPlatform : public brenvik::Platform {
public:
    void ShowMessage(brenvik::MsgKind, std::string_view text, int, bool) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    brenvik::Answer Ask(brenvik::QuestionKind, std::string_view text, int) override {
        std::fprintf(stderr, "%.*s [Yes]\n", static_cast<int>(text.size()), text.data());
        return brenvik::Answer::Yes;
    }
    brenvik::TDateTime NowUTC() override {
        const auto secs = std::chrono::duration_cast<std::chrono::seconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
        return 25569.0 + static_cast<double>(secs) / 86400.0;
    }
};

int Usage() {
    std::fputs("usage: brenvik_bench gen FILE LINES [SEED]\n"
               "       brenvik_bench load FILE [--no-limits]\n"
               "       brenvik_bench alarms FILE LINES\n",
               stderr);
    return 2;
}

template <class T>
bool ParseNumber(std::string_view s, T& v) {
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// AIS sentences in the file, counted apart from the timed load.
long CountAisLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    long n = 0;
    while (std::getline(in, line)) {
        const auto p = line.find_first_not_of(" \t");
        if (p != std::string::npos && line[p] == '!') ++n;
    }
    return n;
}

// An alarm flood: every alarm after the fix joins the one event's alarm text.
bool GenerateAlarms(const std::string& path, long lines) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fputs("$GPRMC,120000,A,5130.000,N,00007.650,W,5.0,90.0,010618,,*3D\r\n", f);
    for (long i = 0; i < lines; ++i) std::fputs("$BWALR,,001,V,V,ANCHOR WATCH ALARM TEXT*69\r\n", f);
    return std::fclose(f) == 0;
}

int Load(const std::string& path, bool nolimits) {
    BenchPlatform platform;
    brenvik::Session s(platform);
    s.settings.nolimits = nolimits;
    const auto t0 = std::chrono::steady_clock::now();
    const brenvik::LoadOutcome outcome = brenvik::LoadLogFile(s, path);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (outcome != brenvik::LoadOutcome::Complete) {
        std::fprintf(stderr, "brenvik_bench: the load of %s did not complete\n", path.c_str());
        return 1;
    }
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    const long aislines = CountAisLines(path);
    std::printf("file            %s\n", path.c_str());
    std::printf("lines           %d\n", s.recnumb);
    std::printf("seconds         %.3f\n", secs);
    std::printf("lines/second    %.0f\n", static_cast<double>(s.recnumb) / secs);
    std::printf("sentences       %d (unprocessed %d, corrupt %d)\n", s.totlines, s.unproclines, s.corruptcount);
    std::printf("events          %d\n", s.events.count());
    std::printf("AIS reports     %d\n", s.aisevents.count());
    std::printf("vessels         %d\n", s.vehicles.count());
    std::printf("AIS sentences/s %.0f (%ld AIS sentences)\n", static_cast<double>(aislines) / secs, aislines);
    std::printf("peak RSS        %.1f MiB\n", static_cast<double>(ru.ru_maxrss) / 1024.0);
    if (s.limithit != 0) std::printf("capacity stop   %s at %d\n", s.limitname.c_str(), s.limithit);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string_view cmd = argv[1];
    if (cmd == "gen" && (argc == 4 || argc == 5)) {
        long lines = 0;
        std::uint64_t seed = 1;
        if (!ParseNumber(argv[3], lines) || lines < 0 || (argc == 5 && !ParseNumber(argv[4], seed))) return Usage();
        if (!brenvik::bench::GenerateLog(argv[2], lines, seed)) {
            std::fprintf(stderr, "brenvik_bench: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (cmd == "load" && argc == 3) return Load(argv[2], false);
    if (cmd == "load" && argc == 4 && std::string_view(argv[3]) == "--no-limits") return Load(argv[2], true);
    if (cmd == "alarms" && argc == 4) {
        long lines = 0;
        if (!ParseNumber(argv[3], lines) || lines < 0) return Usage();
        if (!GenerateAlarms(argv[2], lines)) {
            std::fprintf(stderr, "brenvik_bench: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    return Usage();
}
