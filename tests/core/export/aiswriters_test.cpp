// The AIS CSV files, the vessel table, the AIS grid's lines and the vessel selection.
#include "export/aiswriters.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/ais/aispayload.h"
#include "session.h"
#include "support/fakeplatform.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

struct Fixture {
    test::FakePlatform p;
    Session s{p};
    test::TempDir tmp;
    const std::filesystem::path& dir = tmp.path();
    Fixture() { s.vehicles.SetTables({"235 GB"}, {"GB United Kingdom (UK)"}); }
    void Decode(const test::Payload& pl, std::int32_t line) {
        s.recnumb = line;
        const std::string text = pl.Armour();
        DecodeAIS(s, text, "VDM");
    }
    TVehicle& Vessel(std::int32_t mmsi) {
        std::int32_t row = -1;
        TVehicle* v = s.vehicles.MakeVehicle(mmsi, row);
        s.vehicles.SetId(*v, Fmt("%9.9d", mmsi));
        v->ctry = s.vehicles.country(v->id);
        return *v;
    }
};

test::Payload Type5(std::int64_t mmsi) {
    test::Payload p = test::Payload::Start(5, mmsi);
    p.Put(0, 32).Text("CALL", 7).Text("NAME", 20).Put(70, 8).Put(0, 34).Put(0, 34).Text("DEST", 20);
    return p;
}

TEST(AisExport, PositionFileHoldsOnlyPositionReports) {
    Fixture f;
    f.Decode(test::PositionReport(235000001, 5, 0, 100, -33.9, -4.5, 900, 91, 37), 1);
    f.Decode(Type5(235000001), 2);
    f.Decode(test::Payload::Start(8, 235000002).Put(0, 130), 3);
    f.Decode(test::PositionReport(2320061, 0, -128, 1023, 91, 181, 3600, 511, 60), 4);  // 60: no time
    // A long-range report (27) carries no time stamp: its time cell is empty.
    f.Decode(test::Payload::Start(27, 235000027).Put(0, 2).Put(3, 4).Put(-92521, 18).Put(52239, 17).Put(57, 6)
                 .Put(167, 9).Put(0, 2), 5);
    const auto path = f.dir / "pos.txt";
    EXPECT_TRUE(WriteAISPositions(f.s, path.string(), "TXT"));
    EXPECT_EQ(test::ReadFile(path.string()),
              "MMSI,Status,UTCTime,Latitude,Longitude,SOG,COG,Heading,ROT\r\n"
              "235000001,5,00:00:37,-33.900000,-004.500000,  5.14,   90.00,   91.00,  0.00\r\n"
              "002320061,0,,91.000000,181.000000,  ***,  ***,  ***,  ***\r\n"
              "235000027,3,,87.065000,-154.201667, 29.32,  167.00,  ***,  ***\r\n");
    ASSERT_EQ(f.p.messages.size(), 1u);
    EXPECT_EQ(f.p.messages[0].text, "3 AIS events written to TXT file.");
    EXPECT_EQ(f.p.messages[0].kind, MsgKind::Information);
    EXPECT_EQ(f.p.messages[0].helpcontext, 2100);
}

TEST(AisExport, FilesWithoutAisDataHoldTheirHeader) {
    Fixture f;
    EXPECT_TRUE(WriteAISPositions(f.s, (f.dir / "p.csv").string(), "CSV"));
    EXPECT_TRUE(WriteAISVessels(f.s, (f.dir / "v.csv").string(), "CSV"));
    EXPECT_EQ(test::ReadFile((f.dir / "p.csv").string()), "MMSI,Status,UTCTime,Latitude,Longitude,SOG,COG,Heading,ROT\r\n");
    EXPECT_EQ(test::ReadFile((f.dir / "v.csv").string()), "MMSI,Name,Call,Type,Length,Width,Draught,ETA,Destination\r\n");
    EXPECT_EQ(f.p.Texts(), (std::vector<std::string>{"0 AIS events written to CSV file.",
                                                     "0 AIS Vessels written to CSV file."}));
}

TEST(AisExport, VesselFileAndTable) {
    Fixture f;
    TVehicle& a = f.Vessel(235000001);
    a.name = "SEA STAR";
    a.call = "MABC2";
    a.vtype = 70;
    a.length = 295;
    a.width = 32;
    a.draught = 5.6f;
    a.eta = "07/03 14:05";
    a.dest = "NEW YORK";
    TVehicle& b = f.Vessel(211000002);  // unknown country; AIS text with a comma and a quote
    b.name = "ANNA, \"B\"";
    b.call = "DA,B";
    b.vtype = 36;
    b.draught = 12.3f;
    b.dest = "KIEL,DE";
    f.Vessel(366000003);  // known only from position reports
    EXPECT_EQ(AISVesselLine(f.s.vehicles[1], f.s.Format()), "235000001,SEA STAR,MABC2,70,295,32,   5.6,07/03 14:05,NEW YORK");
    EXPECT_TRUE(WriteAISVessels(f.s, (f.dir / "v.csv").string(), "CSV"));
    EXPECT_EQ(test::ReadFile((f.dir / "v.csv").string()),
              "MMSI,Name,Call,Type,Length,Width,Draught,ETA,Destination\r\n"
              "211000002,\"ANNA, \"\"B\"\"\",\"DA,B\",36,,,    12,,\"KIEL,DE\"\r\n"
              "235000001,SEA STAR,MABC2,70,295,32,   5.6,07/03 14:05,NEW YORK\r\n"
              "366000003,,,,,,,,\r\n");
    EXPECT_EQ(f.p.Texts(), (std::vector<std::string>{"3 AIS Vessels written to CSV file."}));
    EXPECT_EQ(VesselTableLines(f.s),
              (std::vector<std::string>{"MMSI,Country,Name,Call,Type,Length,Width,Draught,ETA,Destination",
                                        "211000002,unknown,\"ANNA, \"\"B\"\"\",\"DA,B\",Sailing,,,12.3,,\"KIEL,DE\"",
                                        "235000001,United Kingdom,SEA STAR,MABC2,Cargo,295,32,5.6,07/03 14:05,NEW YORK",
                                        "366000003,unknown,,,,,,,,"}));
    // A decimal comma keeps its column too.
    f.p.decsep = ',';
    EXPECT_EQ(VesselTableLines(f.s)[2], "235000001,United Kingdom,SEA STAR,MABC2,Cargo,295,32,\"5,6\",07/03 14:05,NEW YORK");
    EXPECT_EQ(AISVesselLine(f.s.vehicles[1], f.s.Format()), "235000001,SEA STAR,MABC2,70,295,32,\"   5,6\",07/03 14:05,NEW YORK");
    TaisEvent e;
    e.msgtype = 1;
    e.id = 235000001;
    e.utcsecs = 1;
    e.coord = {1.5, 2};
    e.sog = 0;
    e.cog = 1;
    EXPECT_EQ(AISPositionLine(e, f.s.Format()),
              "235000001,16,00:00:01,\"01,500000\",\"002,000000\",\"  0,00\",\"    1,00\",  ***,  ***");
    e.utcsecs = 60;  // not available
    EXPECT_EQ(AISPositionLine(e, f.s.Format()).substr(0, 14), "235000001,16,,");
}

TEST(AisExport, WriteFailures) {
    Fixture f;
    f.Decode(test::PositionReport(235000001, 5, 0, 100, 1, 1, 900, 91, 37), 1);
    // A file that cannot be created: only the error.
    EXPECT_FALSE(WriteAISPositions(f.s, f.dir.string(), "CSV"));
    EXPECT_EQ(f.p.Texts(), (std::vector<std::string>{"Unable to write to CSV file."}));
    EXPECT_EQ(f.p.messages[0].kind, MsgKind::Error);
    if (std::filesystem::exists("/dev/full")) {
        // The buffered lines fail when the file is closed: the count message is skipped.
        f.p.messages.clear();
        EXPECT_FALSE(WriteAISVessels(f.s, "/dev/full", "CSV"));
        EXPECT_EQ(f.p.Texts(), (std::vector<std::string>{"Unable to write to CSV file."}));
    }
}

TEST(AisExport, SelectionAndGridLines) {
    Fixture f;
    f.Decode(test::PositionReport(235000001, 0, 0, 0, 1, 1, 0, 0, 1), 10);
    f.Decode(test::PositionReport(235000002, 0, 0, 0, 1, 1, 0, 0, 2), 11);
    f.Decode(test::PositionReport(235000001, 0, 0, 0, 1, 1, 0, 0, 3), 12);
    const auto lines = AISGridLines(f.s);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              "Source#\tMsgType\tMMSI\tStatus/Vessel Type\tUTCDate\tUTCTime\tLatitude\tLongitude\tSOG\tCOG\tHeading\t"
              "R of Turn\tMessage/Comment");
    EXPECT_EQ(lines[1], "      10\tPos.Rpt.\t235000001\tUnder Way (eng)\t\t00:00:01\t01.000000\t001.000000\t  0.00\t"
                        "    0.00\t    0.00\t  0.00\t");

    EXPECT_EQ(SelectAISVessel(f.s, 235000001), 4);
    EXPECT_EQ(f.s.aisselection, (std::vector<std::int32_t>{0, 2}));
    const auto selected = AISGridLines(f.s);
    ASSERT_EQ(selected.size(), 3u);
    EXPECT_EQ(selected[2].substr(0, 8), "      12");
    EXPECT_EQ(SelectAISVessel(f.s, 999999999), 2);
    EXPECT_TRUE(f.s.aisselection.empty());
    EXPECT_EQ(SelectAISVessel(f.s, -1), 5);
    EXPECT_TRUE(f.s.aisselection.empty());

    // Stale positions (the loader empties the selection, but never trust it) are not used.
    f.s.aisevents.clear();
    f.s.aisselection = {0, 7};
    f.Decode(test::PositionReport(235000003, 0, 0, 0, 1, 1, 0, 0, 4), 1);
    EXPECT_EQ(AISGridLines(f.s).size(), 2u);
}

}  // namespace
}  // namespace brenvik
