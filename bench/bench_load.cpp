// brenvik_bench: generates benchmark logs and times a full load of one.
//   brenvik_bench gen FILE LINES [SEED]
//   brenvik_bench load FILE [--no-limits] [--one-thread]
//   brenvik_bench alarms FILE LINES   one fix, then LINES alarm sentences without a time
//   brenvik_bench encounters          encounters of generated traffic, timed
#include <sys/resource.h>

#include <charconv>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/encounters.h"
#include "genlog.h"
#include "model/strutil.h"
#include "parse/loader.h"
#include "parse/loglines.h"
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
               "       brenvik_bench load FILE... [--no-limits] [--one-thread]   (several files: one voyage)\n"
               "       brenvik_bench alarms FILE LINES\n"
               "       brenvik_bench encounters\n",
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

// One number for the events' times, lines and positions: a voyage of the same lines must
// give the single file's.
std::uint64_t EventsHash(const brenvik::TEvents& events) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    };
    for (std::int32_t i = 0; i < events.count(); ++i) {
        const brenvik::TEvent& e = events[i];
        mix(&e.dts, sizeof e.dts);
        mix(&e.recnumb, sizeof e.recnumb);
        mix(&e.coord.lat, sizeof e.coord.lat);
        mix(&e.coord.lng, sizeof e.coord.lng);
    }
    return h;
}

int Load(const std::vector<std::string>& paths, bool nolimits, bool onethread) {
    BenchPlatform platform;
    brenvik::Session s(platform);
    s.settings.nolimits = nolimits;
    if (onethread) s.framethreadbytes = std::numeric_limits<std::uint64_t>::max();
    const auto t0 = std::chrono::steady_clock::now();
    const brenvik::LoadOutcome outcome = brenvik::LoadLogFiles(s, paths);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (outcome != brenvik::LoadOutcome::Complete) {
        std::fprintf(stderr, "brenvik_bench: the load of %s did not complete\n", paths.front().c_str());
        return 1;
    }
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    // A source page of 200 lines around the last line, as the source view reads it.
    const auto p0 = std::chrono::steady_clock::now();
    std::size_t pagelines = 0;
    std::string failed;
    brenvik::ReadLogLines(s.logfiles, s.recnumb - 100, s.recnumb + 100, [&](std::int32_t, std::string_view) { ++pagelines; }, failed);
    const double pagems = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - p0).count();
    long aislines = 0;
    for (const std::string& p : paths) aislines += CountAisLines(p);
    std::printf("file            %s%s\n", paths.front().c_str(), paths.size() > 1 ? brenvik::Fmt(" and %zu more", paths.size() - 1).c_str() : "");
    std::printf("lines           %d\n", s.recnumb);
    std::printf("seconds         %.3f\n", secs);
    std::printf("lines/second    %.0f\n", static_cast<double>(s.recnumb) / secs);
    // Processor time of the whole run: on a busy machine it says more than the wall clock.
    const double cpu = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
                       static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    std::printf("cpu seconds     %.3f\n", cpu);
    std::printf("sentences       %d (unprocessed %d, corrupt %d)\n", s.totlines, s.unproclines, s.corruptcount);
    std::printf("events          %d\n", s.events.count());
    std::printf("AIS reports     %d\n", s.aisevents.count());
    std::printf("vessels         %d\n", s.vehicles.count());
    std::printf("AIS sentences/s %.0f (%ld AIS sentences)\n", static_cast<double>(aislines) / secs, aislines);
    std::printf("peak RSS        %.1f MiB\n", static_cast<double>(ru.ru_maxrss) / 1024.0);
    if (s.limithit != 0) std::printf("capacity stop   %s at %d\n", s.limitname.c_str(), s.limithit);
    std::printf("last page       %.1f ms (%zu lines around the last)\n", pagems, pagelines);
    std::printf("events hash     %016llx\n", static_cast<unsigned long long>(EventsHash(s.events)));
    return 0;
}

// 100,000 own events a second apart on a slowly turning course, and 300 vessels each heard every
// 10 s for about 28 minutes somewhere in that day, on straight courses through the own ship's
// waters: 50,000 position reports. Times the whole encounter computation, best of three.
int Encounters() {
    using namespace brenvik;
    bench::Rng rng(7);
    constexpr int kEvents = 100000, kVessels = 300, kReports = 50000;
    constexpr double kM = 6371000 * 3.141592653589793 / 180;
    const TDateTime base = 46000;
    TEvents events;
    double lat = 57.7, lng = 11.7, cog = 30;
    std::vector<TCoord> ownpos(kEvents);
    for (int i = 0; i < kEvents; ++i) {
        TEvent e;
        e.dts = base + i / 86400.0;
        e.coord = {lat, lng};
        e.speed = 5;
        e.cmg = cog;
        ownpos[static_cast<std::size_t>(i)] = e.coord;
        events.Add(std::move(e));
        cog += rng.Range(-0.05, 0.05);
        lat += 5 * std::cos(cog * 3.141592653589793 / 180) / kM;
        lng += 5 * std::sin(cog * 3.141592653589793 / 180) / (kM * std::cos(lat * 3.141592653589793 / 180));
    }
    struct Heard {
        double t;
        TaisEvent r;
    };
    std::vector<Heard> heard;
    heard.reserve(kReports);
    const int per = kReports / kVessels;
    for (int v = 0; v < kVessels; ++v) {
        const double start = rng.Range(0, kEvents - per * 10.0);
        const TCoord o = ownpos[static_cast<std::size_t>(start)];
        const double sog = rng.Range(0, 12), course = rng.Range(0, 360);
        double y = rng.Range(-9000, 9000), x = rng.Range(-9000, 9000);
        for (int k = 0; k < per + (v < kReports % kVessels ? 1 : 0); ++k) {
            const double t = start + k * 10.0;
            TaisEvent r;
            r.msgtype = 1;
            r.id = 200000000 + v;
            r.valid = true;
            r.rxdts = base + t / 86400;
            r.coord = {o.lat + y / kM, o.lng + x / (kM * std::cos(o.lat * 3.141592653589793 / 180))};
            r.sog = sog;
            r.cog = course;
            heard.push_back({t, r});
            y += sog * 10 * std::cos(course * 3.141592653589793 / 180);
            x += sog * 10 * std::sin(course * 3.141592653589793 / 180);
        }
    }
    std::stable_sort(heard.begin(), heard.end(), [](const Heard& a, const Heard& b) { return a.t < b.t; });
    TaisEvents reports;
    for (Heard& h : heard) reports.Add(std::move(h.r));
    // Wall clock and processor time: on a shared machine the first also counts the others' work.
    double best = 1e9, bestcpu = 1e9;
    TEncounters enc;
    for (int run = 0; run < 3; ++run) {
        const auto t0 = std::chrono::steady_clock::now();
        const std::clock_t c0 = std::clock();
        enc = ComputeEncounters(events, reports, 0);
        bestcpu = std::min(bestcpu, static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("Encounters: %d AIS reports of %d vessels against %d events: %.1f ms wall, %.1f ms processor "
                "(best of 3); %zu vessels met, closest %.0f m\n",
                reports.count(), kVessels, events.count(), best * 1000, bestcpu * 1000, enc.list.size(),
                enc.list.empty() ? 0.0 : enc.list.front().dist);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "encounters") return Encounters();
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
    if (cmd == "load") {  // load FILE... [--no-limits]: several files are read as one voyage
        std::vector<std::string> paths;
        bool nolimits = false, onethread = false;
        for (int i = 2; i < argc; ++i) {
            if (std::string_view(argv[i]) == "--no-limits")
                nolimits = true;
            else if (std::string_view(argv[i]) == "--one-thread")
                onethread = true;
            else
                paths.emplace_back(argv[i]);
        }
        if (paths.empty()) return Usage();
        return Load(paths, nolimits, onethread);
    }
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
