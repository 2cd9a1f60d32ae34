#include "parse/linefeed.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "model/strutil.h"
#include "openlog.h"
#include "present/report.h"
#include "support/loadhelper.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

// Everything a load leaves that the views and outputs read, as text.
std::string Digest(const test::LoadedLog& log) {
    const Session& s = log.s;
    std::string d = Fmt("outcome %d lines %d sentences %d/%d/%d vdr %.9f cancel %d limit %d\n", static_cast<int>(log.outcome),
                        s.recnumb, s.totlines, s.unproclines, s.corruptcount, s.vdrdts, s.cancelline, s.limitline);
    for (const std::string& m : log.Messages()) d += "message " + m + "\n";
    for (const std::string& l : SummaryReport(s)) d += l + "\n";
    for (const std::string& c : s.corruptrecs) d += "corrupt " + c + "\n";
    for (std::int32_t i = 0; i < s.events.count(); ++i) {
        const TEvent& e = s.events[i];
        d += Fmt("event %d %.9f %.7f %.7f %s\n", e.recnumb, e.dts, e.coord.lat, e.coord.lng, e.lasttag.c_str());
    }
    for (std::int32_t i = 0; i < s.aisevents.count(); ++i) {
        const TaisEvent& a = s.aisevents[i];
        d += Fmt("ais %d %d %d %d %.7f\n", a.srcnumb, a.msgtype, a.id, a.utcsecs, a.coord.lat);
    }
    for (const TLogFile& f : s.logfiles) {
        d += Fmt("file %d-%d %.9f %.9f", f.firstline, f.lastline, f.firsttime, f.lasttime);
        for (const std::uint64_t o : f.offsets) d += Fmt(" %llu", static_cast<unsigned long long>(o));
        d += "\n";
    }
    for (const TSourceStat& st : s.sources.list)
        d += Fmt("source %s%s %d %d %d %d %d-%d %d %d %d %.9f\n", st.talker.c_str(), st.ident.c_str(), st.lines, st.processed,
                 st.unprocessed, st.corrupt, st.firstline, st.lastline, st.times.count, st.utc.count, st.utc.backward,
                 st.utc.last);
    d += Fmt("without %d offsets %lld\n", s.sources.without.lines, static_cast<long long>(s.sources.offsets.count()));
    return d;
}

// The files loaded as one voyage, straight or through the framing thread.
std::unique_ptr<test::LoadedLog> Load(const std::vector<std::string>& paths, bool framing, std::size_t cancelat = 0) {
    auto log = std::make_unique<test::LoadedLog>();
    log->s.framethreadbytes = framing ? 0 : std::numeric_limits<std::uint64_t>::max();
    log->platform.cancelat = cancelat;
    log->outcome = OpenLogFiles(log->s, paths);
    return log;
}

// A mixed log of n blocks: recorder prefixes of both kinds, tag blocks, AIS in two parts,
// checksum failures, comments, quoted fields, a prefix that does not convert, mixed line ends.
std::string MixedLog(int n, int hour) {
    std::string t = "Voyage title\r\n";
    for (int i = 0; i < n; ++i) {
        const int sec = i % 60, min = i / 60 % 60;
        t += Fmt("2025/06/12 %02d:%02d:%02d.250,", hour, min, sec) +
             test::WithChecksum(Fmt("$GPRMC,%02d%02d%02d.00,A,6018.%04d,N,00453.9978,E,007.4,328.3,120625,1.8,W,A", hour, min,
                                    sec, i % 10000)) +
             "\n";
        t += Fmt("[06/12/2025 %02d:%02d:%02d.500]", hour, min, sec) + test::WithChecksum("$HEHDT,328.3,T") + "\r\n";
        t += Fmt("\\c:%d*00\\", 1749736800 + i) + test::WithChecksum("$IIDBT,12.1,f,3.7,M,2.0,F") + "\r";
        t += test::WithChecksum("!AIVDM,2,1,3,B,55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp8,0") + "\n";
        t += test::WithChecksum("!AIVDM,2,2,3,B,88888888880,2") + "\n";
        t += test::WithChecksum(Fmt("!AIVDM,1,1,,A,15M67FC000G?ufbE`FepT@3n00S%c,0", "pqrs"[i % 4])) + "\n";
        if (i % 7 == 0) t += "$GPGGA,bad*00\n# a comment\n\n";
        if (i % 11 == 0) t += "2025/13/40 99:99:99," + test::WithChecksum("$GPZDA,120000.00,12,06,2025,,") + "\n";
        if (i % 13 == 0) t += test::WithChecksum("$PFEC,GPatt,\"a,b\",1") + "\n";
    }
    return t;
}

TEST(FramingFeed, LoadsAsTheDirectReading) {
    const test::TempDir dir;
    auto write = [&](const std::string& name, const std::string& text) {
        const std::string path = dir.File(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    };
    const std::string mixed = write("mixed.log", MixedLog(1600, 10));  // 9,000 lines: several batches, a progress call
    // A line longer than a batch's text between short ones.
    const std::string longline = write("long.log", MixedLog(3, 11) + "$GPTXT," + std::string(300000, 'x') + "\n" + MixedLog(3, 11));
    std::string utf16 = "\xFF\xFE";
    for (char c : MixedLog(20, 12)) utf16 += std::string{c, '\0'};
    const std::string wide = write("wide.log", utf16);
    const std::string first = write("a.log", MixedLog(300, 13)), second = write("b.log", MixedLog(300, 14));
    const std::string noend = write("noend.log", "$IIHDT,10,T\n$IIHDT,11,T");
    const std::string empty = write("empty.log", "");

    struct Case {
        const char* name;
        std::vector<std::string> paths;
        std::size_t cancelat = 0;
    };
    const Case cases[] = {
        {"mixed", {mixed}},
        {"long line", {longline}},
        {"UTF-16", {wide}},
        {"voyage with empty file given out of order", {second, empty, first}},
        {"no line end at the end", {noend}},
        {"cancelled", {mixed}, 1},
        {"not opened", {mixed, dir.File("missing.log")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto direct = Load(c.paths, false, c.cancelat), framed = Load(c.paths, true, c.cancelat);
        EXPECT_GT(direct->s.recnumb + static_cast<int>(direct->platform.messages.size()), 0);
        EXPECT_EQ(Digest(*framed), Digest(*direct));
    }
}

TEST(FramingFeed, StopsWhereverTheLoaderStops) {
    // The reader runs ahead of the loader: leaving early must stop it and free everything.
    const test::TempDir dir;
    const std::string path = dir.File("a.log");
    std::ofstream(path, std::ios::binary) << MixedLog(2000, 10);
    for (const int lines : {0, 1, 5000}) {
        SCOPED_TRACE(lines);
        TFramingFeed feed({path, path}, TFrameRules{});
        ASSERT_TRUE(feed.Open(path));
        int seen = 0;
        while (seen < lines && feed.Next()) ++seen;
        EXPECT_EQ(seen, lines);
    }
    // Two files, read to their ends in turn: the second restarts the line numbers.
    TFramingFeed feed({path, path}, TFrameRules{});
    for (int f = 0; f < 2; ++f) {
        ASSERT_TRUE(feed.Open(path));
        int lines = 0;
        std::int32_t lineno = 0;
        while (const TFedLine* l = feed.Next()) {
            ++lines;
            lineno = l->lineno;
        }
        EXPECT_EQ(lineno, lines);
        EXPECT_FALSE(feed.failed());
        EXPECT_EQ(feed.last().substr(0, 16), "!AIVDM,1,1,,A,15");
    }
    EXPECT_FALSE(feed.Open(path));  // no third file
}

}  // namespace
}  // namespace brenvik
