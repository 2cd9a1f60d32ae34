// brenvik-cli's AIS outputs: the AIS grid, the vessel table, the two AIS files and --lookup.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "model/strutil.h"
#include "support/clirun.h"
#include "support/tempdir.h"

namespace brenvik::test {
namespace {

// Real sentences: a type 1 report of 371798000, a two-part type 5 of 351759000 (both Panama) and
// a type 4 of the coast station 002470052 with time and position not available.
std::string AisLog() {
    return Sentence("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0") +
           Sentence("!AIVDM,2,1,1,A,55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp8,0") +
           Sentence("!AIVDM,2,2,1,A,88888888880,2") + Sentence("!AIVDM,1,1,,B,402Fha0000Htt<tSF0l4Q@000d20,0");
}

TEST(CliAis, GridAndVesselTable) {
    TempDir dir;
    const std::string log = dir.Write("ais.log", AisLog());
    const CliResult r = RunCli(dir, "--ais --vessels '" + log + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "Source#\tMsgType\tMMSI\tStatus/Vessel Type\tUTCDate\tUTCTime\tLatitude\tLongitude\tSOG\tCOG\tHeading\t"
              "R of Turn\tMessage/Comment\n"
              "       1\tPos.Rpt.\t371798000\tUnder Way (eng)\t\t00:00:33\t48.381633\t-123.395383\t  6.33\t  224.00\t"
              "  215.00\t-127.00\t\n"
              "       3\tStatic/Voyage\t351759000\tCargo\t\t\t  ***\t  ***\t  ***\t  ***\t  ***\t  ***\t"
              "EVER DIADEM 15/05 14:00 NEW YORK\n"
              "       4\tBase Stn.Rprt.\t002470052\t\t\t01:01:00\t91.000000\t181.000000\t  ***\t  ***\t  ***\t  ***\t\n"
              "MMSI,Country,Name,Call,Type,Length,Width,Draught,ETA,Destination\n"
              "002470052,Coast station or group of ships,,,,,,,,\n"
              "351759000,Panama,EVER DIADEM,3FOF8,Cargo,295,32,12.2,15/05 14:00,NEW YORK\n"
              "371798000,Panama,,,,,,,,\n");
}

TEST(CliAis, WritersTellOnStderr) {
    TempDir dir;
    const std::string log = dir.Write("ais.log", AisLog());
    const CliResult r = RunCli(dir, "--ais-positions '" + dir.File("pos.csv") + "' --ais-vessels '" + dir.File("ves.txt") +
                                  "' '" + log + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    // The label is the extension in upper case; the files' lines are the writers' own.
    EXPECT_EQ(r.err, "1 AIS events written to CSV file.\n3 AIS Vessels written to TXT file.\n");
    EXPECT_NE(ReadFile(dir.File("ves.txt")).find("\r\n002470052,,,,,,,,\r\n351759000,EVER DIADEM,"), std::string::npos);
    EXPECT_NE(ReadFile(dir.File("pos.csv")).find("\r\n371798000,0,00:00:33,"), std::string::npos);
    const CliResult bad = RunCli(dir, "--ais-vessels '" + dir.File("no/such/folder.csv") + "' '" + log + "'");
    EXPECT_EQ(bad.err, "Unable to write to CSV file.\n");
    EXPECT_EQ(bad.status, 1);
}

TEST(CliAis, LookupFolder) {
    TempDir dir;
    const std::string log = dir.Write("ais.log", AisLog());
    dir.Write("mmsi2cc.txt", "351 XY\n");
    dir.Write("cc2ctry.txt", "XY Somewhere (here)\n");
    const CliResult r = RunCli(dir, "--vessels --lookup '" + dir.path().string() + "' '" + log + "'");
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("351759000,Somewhere,"), std::string::npos);
    EXPECT_NE(r.out.find("371798000,unknown,"), std::string::npos);
    const CliResult missing = RunCli(dir, "--vessels --lookup '" + dir.File("none") + "' '" + log + "'");
    EXPECT_EQ(missing.status, 0);
    EXPECT_NE(missing.err.find("mmsi2cc.txt"), std::string::npos);
    EXPECT_NE(missing.err.find("cc2ctry.txt"), std::string::npos);
    EXPECT_NE(missing.out.find("351759000,unknown,"), std::string::npos);
}

}  // namespace
}  // namespace brenvik::test
