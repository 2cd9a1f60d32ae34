// brenvik-cli as a user runs it: exit status, stdout and stderr.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "support/clirun.h"
#include "support/tempdir.h"

namespace brenvik::test {
namespace {

TEST(Cli, UsageErrorsExitWithTwo) {
    TempDir dir;
    const std::string log = dir.Write("a.log", "");
    const char* bad[] = {"",
                         "--frobnicate " ,
                         "--units XY ",
                         "--units N ",
                         "--coord Q ",
                         "--fields 23 ",
                         "--fields 1,x ",
                         "--time-threshold -5 ",
                         "--marked 5:2 ",
                         "--report --settings "};
    for (const char* args : bad) {
        SCOPED_TRACE(args);
        const std::string tail = std::string(args).empty() ? std::string() : Q(log);
        CliResult r = RunCli(dir, std::string(args) + tail);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Usage: brenvik-cli"), std::string::npos);
    }
    // A file named twice is read once.
    CliResult two = RunCli(dir, Q(log) + " " + Q(log));
    EXPECT_EQ(two.status, 0);
    EXPECT_EQ(two.out, RunCli(dir, Q(log)).out);
}

TEST(Cli, HelpPrintsUsage) {
    TempDir dir;
    CliResult r = RunCli(dir, "--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: brenvik-cli", 0), 0u);
    for (const char* opt : {"--report", "--corrupt", "--settings", "--time-threshold", "--fields", "--units"})
        EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
    // The first line of --version is what the manual pages are headed with.
    CliResult v = RunCli(dir, "--version");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "brenvik-cli " BRENVIK_VERSION "\n");
}

// A file that is not a log: one stderr line per kind of per-line message, the counts at the
// end of the report.
TEST(Cli, PerLineMessagesTakeOneLineEachAndTheReportCountsThem) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 25; ++i) text += "user" + std::to_string(i) + ":x:1000:1000::/home:/bin/sh\n";
    for (int i = 0; i < 4; ++i) text += "[99/99/2025] $IIHDT,10,T\n";
    CliResult r = RunCli(dir, Q(dir.Write("passwd", text)));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Format Error=line 1: user0:x:1000:1000::/home:/bin/sh\nError=99/99/2025\n");
    const std::string tail = "Lines with unreadable time prefixes: 25 (first at line 1)\n"
                             "Lines with unreadable bracketed time prefixes: 4 (first at line 26)\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    EXPECT_NE(r.out.find("Processed Lines = 4,"), std::string::npos) << r.out;
}

TEST(Cli, FileThatCannotBeOpened) {
    TempDir dir;
    const std::string missing = dir.File("nothere.log"), empty = dir.File("empty");
    std::filesystem::create_directory(empty);
    for (const std::string& path : {missing, empty}) {
        SCOPED_TRACE(path);
        CliResult r = RunCli(dir, "--report --corrupt " + Q(path));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, (path == empty ? "No log files (*.txt, *.log, *.nmea) in:\n" : "Could not open the file:\n") + path + "\n");
    }
}

TEST(Cli, EmptyFileGivesTheFourLineReport) {
    TempDir dir;
    const std::string log = dir.Write("empty.log", "");
    CliResult r = RunCli(dir, Q(log));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "File: " + log + "\n" +
                         "Total lines = 0, Processed Lines = 0, Corrupt lines = 0,  Number of NMEA Events = 0\n"
                         "Start Date/Time undefined\n"
                         "Total Distance=0\n");
    EXPECT_EQ(r.err, "");
    CliResult c = RunCli(dir, "--corrupt " + Q(log));
    EXPECT_EQ(c.out, "{No Corrupt lines}\n");
}

TEST(Cli, CorruptViewListsRejectedLines) {
    TempDir dir;
    // Line 2 has one data character changed, so its checksum no longer holds.
    const std::string log = dir.Write("c.log",
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.5,M,46.9,M,,*47\r\n");
    CliResult r = RunCli(dir, "--corrupt " + Q(log));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0000002|$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.5,M,46.9,M,,\n");
    CliResult nock = RunCli(dir, "--corrupt --no-checksum " + Q(log));
    EXPECT_EQ(nock.out, "{No Corrupt lines}\n");
    // Both outputs, report first.
    CliResult both = RunCli(dir, "--corrupt --report " + Q(log));
    EXPECT_EQ(both.out.rfind("File: ", 0), 0u);
    EXPECT_NE(both.out.find("\n0000002|$GPGGA"), std::string::npos);
}

// Bytes of the log that are not UTF-8 reach standard output as Latin-1 characters in UTF-8;
// valid UTF-8 passes unchanged.
TEST(Cli, TextViewsAreUtf8) {
    TempDir dir;
    const std::string log = dir.Write("l.log",
        "$IIALR,101112,1,A,V,Temp\xe9rature*00\r\n"
        "$IIALR,101112,1,A,V,caf\xc3\xa9*00\r\n");
    CliResult r = RunCli(dir, "--corrupt " + Q(log));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0000001|$IIALR,101112,1,A,V,Temp\xc3\xa9rature\n"
                     "0000002|$IIALR,101112,1,A,V,caf\xc3\xa9\n");
}

}  // namespace
}  // namespace brenvik::test

namespace brenvik::test {
namespace {

TEST(Cli, SettingsFileThenFlags) {
    TempDir dir;
    const std::string log = dir.Write("c.log",
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.5,M,46.9,M,,*47\r\n");
    // Checksum verification off in the file: the bad line is not corrupt.
    const std::string ini = dir.Write("s.ini", "[GENERAL]\r\nGenModes=NNNNN\r\n");
    CliResult r = RunCli(dir, "--corrupt --settings " + Q(ini) + " " + Q(log));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "{No Corrupt lines}\n");
    CliResult missing = RunCli(dir, "--settings " + Q(dir.File("none.ini")) + " " + Q(log));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("none.ini"), std::string::npos);
    // A bad value is reported on stderr and ends the run: a script cannot use half its settings.
    const std::string bad = dir.Write("b.ini", "[EVENTS]\r\nThresholds=x,1,1\r\n");
    CliResult b = RunCli(dir, "--csv " + Q(dir.File("out.csv")) + " --settings " + Q(bad) + " " + Q(log));
    EXPECT_EQ(b.status, 1);
    EXPECT_EQ(b.err, "'x' is not a valid integer value\n");
    EXPECT_EQ(b.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.csv")));
}

TEST(Cli, OutputsMayNotOverwriteTheLogOrEachOther) {
    TempDir dir;
    const std::string log = dir.Write("trip.txt", "$IIHDT,10,T\r\n");
    std::filesystem::create_hard_link(log, dir.File("link.txt"));
    std::filesystem::create_directory(dir.File("sub"));
    const std::string bad[] = {
        "--csv " + Q(log) + " " + Q(log),
        "--kml " + Q(dir.File("sub/../trip.txt")) + " " + Q(log),
        "--gps " + Q(dir.File("link.txt")) + " " + Q(log),
        "--csv " + Q(dir.File("x")) + " --kml " + Q(dir.File("sub/../x")) + " " + Q(log),
        "--ais-positions " + Q(dir.File("p")) + " --ais-vessels " + Q(dir.File("./p")) + " " + Q(log),
    };
    for (const std::string& args : bad) {
        SCOPED_TRACE(args);
        CliResult r = RunCli(dir, args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("Usage: brenvik-cli"), std::string::npos);
        EXPECT_EQ(ReadFile(log), "$IIHDT,10,T\r\n");
        EXPECT_FALSE(std::filesystem::exists(dir.File("x")));
    }
    CliResult ok = RunCli(dir, "--csv " + Q(dir.File("a.csv")) + " --kml " + Q(dir.File("a.kml")) + " " + Q(log));
    EXPECT_EQ(ok.status, 0);
}

TEST(Cli, StandardOutputThatCannotBeWritten) {
    TempDir dir;
    const std::string log = dir.Write("t.log", "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,\r\n");
    for (const char* what : {"--events", "--report", "--corrupt"}) {
        SCOPED_TRACE(what);
        CliResult r = RunCli(dir, std::string(what) + " " + Q(log) + " >/dev/full");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "brenvik-cli: could not write to standard output\n");
    }
}

}  // namespace
}  // namespace brenvik::test
