// brenvik-cli --encounters, --encounters-csv, --ais-relative and the limits, on a small log:
// the own ship lies still at 10 N 20 E while a vessel steams east at 10 knots 0.2' north of it.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "core/ais/aispayload.h"
#include "model/strutil.h"
#include "support/clirun.h"
#include "support/tempdir.h"

namespace brenvik::test {
namespace {

std::string CrossingLog() {
    const double kM = 6371000 * std::numbers::pi / 180;
    std::string log;
    for (int t = 0; t <= 600; t += 10) {
        log += Sentence(Fmt("$GPRMC,12%02d%02d.00,A,1000.000,N,02000.000,E,0.0,0.0,150312,,", t / 60, t % 60));
        const double lng = 20 - 1.0 / 60 + 10 * 0.514444444 * t / (kM * std::cos(10 * std::numbers::pi / 180));
        const std::string payload = PositionReport(244000001, 0, 0, 100, 10 + 0.2 / 60, lng, 900, 90, t % 60).Armour();
        log += Sentence("!AIVDM,1,1,,A," + payload + ",0");
    }
    return log;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(CliEncounters, TableFilesAndLimits) {
    TempDir dir;
    const std::string log = dir.File("crossing.log");
    WriteFile(log, CrossingLog());
    const std::string csv = dir.File("enc.csv"), pos = dir.File("pos.csv"), rel = dir.File("rel.csv");
    CliResult r = RunCli(dir, "--encounters --encounters-csv " + Q(csv) + " --ais-positions " + Q(pos) +
                                  " --ais-relative " + Q(rel) + " " + Q(log));
    ASSERT_EQ(r.status, 0) << r.err;
    // 61 fixes and the loader's last event a second after the last.
    EXPECT_NE(r.out.find("Own track: 62 positions from the events."), std::string::npos) << r.out;
    const std::string table = ReadFile(csv);
    // Closest abeam, 0.2' of latitude (370.6 m) due north, flagged under the 0.5 nm default.
    EXPECT_EQ(table.rfind("Flag,MMSI,Name,Country,Type,Reports,Closest (m),Metres,", 0), 0u) << table;
    EXPECT_NE(table.find("\r\n*,244000001,,"), std::string::npos) << table;
    EXPECT_NE(table.find(",61,371,371,15-03-2012 12:05:"), std::string::npos) << table;
    // The companion file has a line for every line of the position file.
    EXPECT_EQ(Count(ReadFile(rel), "\r\n"), Count(ReadFile(pos), "\r\n"));
    EXPECT_EQ(ReadFile(rel).rfind("MMSI,ReceptionTime,Distance,Bearing,CPA,TCPA,ClosingSpeed\r\n244000001,15-03-2012 "
                                  "12:00:00,",
                                  0),
              0u);

    // Under a limit of 0.1 nm neither the approach nor a prediction flags it.
    r = RunCli(dir, "--encounters-csv " + Q(csv) + " --cpa-limit 0.1 --tcpa-window 5 " + Q(log));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadFile(csv).find("\r\n,244000001,,"), std::string::npos);
    EXPECT_EQ(RunCli(dir, "--encounters --cpa-limit x " + Q(log)).status, 2);
}

}  // namespace
}  // namespace brenvik::test
