// Decoding complete payloads into reports and vessels.
#include <gtest/gtest.h>

#include "ais/aisdecode.h"
#include "aispayload.h"
#include "model/datetime.h"
#include "support/fakeplatform.h"

namespace brenvik {
namespace {

constexpr double kKnot = 0.51444444444;

struct Fixture {
    test::FakePlatform p;
    Session s{p};
    Fixture() { s.vehicles.SetTables({"235 GB"}, {"GB United Kingdom (UK)"}); }
    void Decode(const test::Payload& pl, std::string_view type = "VDM", std::int32_t line = 1) {
        s.recnumb = line;
        const std::string text = pl.Armour();
        DecodeAIS(s, text, type);
    }
    const TVehicle& Vessel(std::string_view id) {
        const TVehicle* v = s.vehicles.findvehicle(id);
        if (!v) throw std::runtime_error("no vessel " + std::string(id));
        return *v;
    }
};

TEST(AisDecode, PositionReports) {
    struct Case {
        const char* name;
        int status, rot, sog;
        double lat, lng;
        int cog, heading, second;
        double esog, ecog, eheading, erot;
        bool valid;
    };
    const Case cases[] = {
        {"south and west", 7, 10, 123, -33.9, -4.5, 2240, 215, 33, 12.3 * kKnot, 224.0, 215, 10, true},
        {"rate of turn 127", 0, 127, 0, 10, 20, 0, 0, 0, 0, 0, 0, 127, true},
        // Not available: speed 1023, course 3600, heading 511, rate of turn -128.
        {"not available", 15, -128, 1023, 91, 181, 3600, 511, 60, novalue, novalue, novalue, novalue, false},
        {"largest valid values", 0, -127, 1022, 0, 0.5, 3599, 359, 59, 102.2 * kKnot, 359.9, 359, -127, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.Decode(test::PositionReport(235000123, c.status, c.rot, c.sog, c.lat, c.lng, c.cog, c.heading, c.second),
                 "VDM", 42);
        ASSERT_EQ(f.s.aisevents.count(), 1);
        const TaisEvent& e = f.s.aisevents[0];
        EXPECT_EQ(e.msgtype, 1);
        EXPECT_EQ(e.id, 235000123);
        EXPECT_EQ(e.srcnumb, 42);
        EXPECT_EQ(e.status, c.status);
        EXPECT_NEAR(e.coord.lat, c.lat, 1e-9);
        EXPECT_NEAR(e.coord.lng, c.lng, 1e-9);
        EXPECT_EQ(e.valid, c.valid);
        EXPECT_NEAR(e.sog, c.esog, 1e-9);
        EXPECT_NEAR(e.cog, c.ecog, 1e-9);
        EXPECT_EQ(e.heading, c.eheading);
        EXPECT_EQ(e.rot, c.erot);
        EXPECT_EQ(e.utcsecs, c.second);
        EXPECT_EQ(e.utcdate, 0);
        const TVehicle& v = f.Vessel("235000123");
        EXPECT_EQ(v.ctry, "GB United Kingdom");
        EXPECT_EQ(v.lastrec, 42);
        EXPECT_FALSE(v.me);
    }
}

// The other position reports, built field by field from their layouts: class B (18), class B
// extended (19), SAR aircraft (9, speed in whole knots) and long-range (27, 1/10 minute, whole
// knots and degrees). None carries a rate of turn; 9 and 27 carry no heading, 27 no time stamp.
TEST(AisDecode, ClassBSarAndLongRangePositions) {
    struct Case {
        const char* name;
        test::Payload payload;
        std::int32_t msgtype;
        int status;
        double lat, lng, sog, cog, heading;
        std::int32_t second;
        bool valid;
        const char* messg;
    };
    using test::Payload;
    const Case cases[] = {
        {"18 class B", Payload::Start(18, 235000018).Put(0, 8).Put(73, 10).Put(1, 1).Position(60.1637, 24.9647)
                           .Put(2980, 12).Put(298, 9).Put(17, 6).Put(0, 29),
         18, 16, 60.1637, 24.9647, 7.3 * kKnot, 298.0, 298, 17, true, ""},
        {"18 not available", Payload::Start(18, 235000018).Put(0, 8).Put(1023, 10).Put(0, 1).Position(91, 181)
                                 .Put(3600, 12).Put(511, 9).Put(60, 6).Put(0, 29),
         18, 16, 91, 181, novalue, novalue, novalue, 60, false, ""},
        {"19 class B extended", Payload::Start(19, 235000019).Put(0, 8).Put(87, 10).Put(0, 1).Position(29.5437, -88.8104)
                                    .Put(3359, 12).Put(511, 9).Put(46, 6).Put(4, 4).Text("CAPT.J.RIMES", 20)
                                    .Put(70, 8).Put(5, 9).Put(21, 9).Put(4, 6).Put(3, 6).Put(1, 4).Put(0, 11),
         19, 16, 29.5437, -88.8104, 8.7 * kKnot, 335.9, novalue, 46, true, "CAPT.J.RIMES"},
        {"9 SAR aircraft", Payload::Start(9, 235000009).Put(303, 12).Put(42, 10).Put(0, 1).Position(58.1440, -6.2788)
                               .Put(1545, 12).Put(15, 6).Put(0, 34),
         9, 16, 58.1440, -6.2788, 42 * kKnot, 154.5, novalue, 15, true, ""},
        {"27 long-range", Payload::Start(27, 235000027).Put(0, 2).Put(3, 4).Put(-92521, 18).Put(52239, 17)
                              .Put(57, 6).Put(167, 9).Put(0, 2),
         27, 3, 52239 / 600.0, -92521 / 600.0, 57 * kKnot, 167.0, novalue, -1, true, ""},
        {"27 not available", Payload::Start(27, 235000027).Put(0, 2).Put(15, 4).Put(181 * 600, 18).Put(91 * 600, 17)
                                 .Put(63, 6).Put(511, 9).Put(0, 2),
         27, 15, 91, 181, novalue, novalue, novalue, -1, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.Decode(c.payload, "VDM", 7);
        ASSERT_EQ(f.s.aisevents.count(), 1);
        const TaisEvent& e = f.s.aisevents[0];
        EXPECT_EQ(e.msgtype, c.msgtype);
        EXPECT_EQ(e.status, c.status);
        EXPECT_NEAR(e.coord.lat, c.lat, 1e-9);
        EXPECT_NEAR(e.coord.lng, c.lng, 1e-9);
        EXPECT_EQ(e.valid, c.valid);
        EXPECT_NEAR(e.sog, c.sog, 1e-9);
        EXPECT_NEAR(e.cog, c.cog, 1e-9);
        EXPECT_EQ(e.heading, c.heading);
        EXPECT_EQ(e.rot, novalue);
        EXPECT_EQ(e.utcsecs, c.second);
        EXPECT_EQ(e.utcdate, 0);
        EXPECT_EQ(e.messg, c.messg);
    }
    // Type 19 fills the vessel as type 5 does.
    Fixture f;
    f.Decode(cases[2].payload);
    const TVehicle& v = f.Vessel("235000019");
    EXPECT_EQ(v.name, "CAPT.J.RIMES");
    EXPECT_EQ(v.vtype, 70);
    EXPECT_EQ(v.length, 26);
    EXPECT_EQ(v.width, 7);
}

TEST(AisDecode, BaseStationDates) {
    struct Case {
        const char* name;
        int year, month, day, hour, minute, second;
        bool fault;
        std::int32_t utcdate, utcsecs;
    };
    const std::int32_t day = static_cast<std::int32_t>(*EncodeDate(2016, 2, 29));
    const Case cases[] = {
        {"a leap day", 2016, 2, 29, 23, 59, 58, false, day, 86398},
        {"year 0, time not available", 0, 0, 0, 24, 60, 60, false, 0, 90060},
        {"month 0", 2016, 0, 10, 1, 2, 3, true, 0, 0},
        {"day 0", 2016, 5, 0, 1, 2, 3, true, 0, 0},
        {"31 April", 2016, 4, 31, 1, 2, 3, true, 0, 0},
        {"29 February 2015", 2015, 2, 29, 1, 2, 3, true, 0, 0},
        {"month 13", 2016, 13, 1, 1, 2, 3, true, 0, 0},
        {"year above 9999", 10196, 1, 24, 9, 57, 37, true, 0, 0},
    };
    for (const int msgtype : {4, 11}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "type " << msgtype << ": " << c.name);
            Fixture f;
            test::Payload pl = test::Payload::Start(msgtype, 2320061);
            pl.Put(c.year, 14).Put(c.month, 4).Put(c.day, 5).Put(c.hour, 5).Put(c.minute, 6).Put(c.second, 6);
            pl.Put(1, 1).Position(51.5, -0.1).Put(0, 34);
            f.Decode(pl, "VDM", 17);
            EXPECT_EQ(f.s.vehicles.count(), 1);  // the vessel stands even when the report is discarded
            if (c.fault) {
                EXPECT_EQ(f.s.aisevents.count(), 0);
                ASSERT_EQ(f.p.messages.size(), 1u);
                EXPECT_EQ(f.p.messages[0].text,
                          "DecodeAIS Fault: " + pl.Armour() + "\nInvalid date\n" + std::to_string(msgtype) + " 17");
                continue;
            }
            ASSERT_EQ(f.s.aisevents.count(), 1);
            const TaisEvent& e = f.s.aisevents[0];
            EXPECT_EQ(e.utcdate, c.utcdate);
            EXPECT_EQ(e.utcsecs, c.utcsecs);
            EXPECT_EQ(e.status, 16);
            EXPECT_NEAR(e.coord.lat, 51.5, 1e-9);
            EXPECT_NEAR(e.coord.lng, -0.1, 1e-9);
            EXPECT_TRUE(e.valid);
            EXPECT_TRUE(f.p.messages.empty());
        }
    }
}

test::Payload StaticVoyage(std::int64_t mmsi, std::string_view call, std::string_view name, int shiptype,
                           int eta[4], int draught, std::string_view dest) {
    test::Payload p = test::Payload::Start(5, mmsi);
    p.Put(0, 2).Put(9134270, 30).Text(call, 7).Text(name, 20).Put(shiptype, 8);
    p.Put(225, 9).Put(70, 9).Put(1, 6).Put(31, 6).Put(1, 4);
    p.Put(eta[0], 4).Put(eta[1], 5).Put(eta[2], 5).Put(eta[3], 6).Put(draught, 8).Text(dest, 20).Put(0, 2);
    return p;
}

TEST(AisDecode, StaticAndVoyageData) {
    Fixture f;
    int eta[4] = {3, 7, 14, 5};
    f.Decode(StaticVoyage(235000001, "3FOF8", "EVER DIADEM", 70, eta, 56, "NEW YORK"));
    ASSERT_EQ(f.s.aisevents.count(), 1);
    const TaisEvent& e = f.s.aisevents[0];
    EXPECT_EQ(e.status, 70);
    EXPECT_EQ(e.messg, "EVER DIADEM 07/03 14:05 NEW YORK");
    EXPECT_EQ(e.utcsecs, -1);
    EXPECT_GT(e.coord.lat, 1e24);
    const TVehicle& v = f.Vessel("235000001");
    EXPECT_EQ(v.call, "3FOF8");
    EXPECT_EQ(v.name, "EVER DIADEM");
    EXPECT_EQ(v.vtype, 70);
    EXPECT_EQ(v.length, 295);
    EXPECT_EQ(v.width, 32);
    EXPECT_FLOAT_EQ(v.draught, 5.6f);
    EXPECT_EQ(v.eta, "07/03 14:05");
    EXPECT_EQ(v.dest, "NEW YORK");

    // Not available: month 0, day 0, hour 24, minute 60; a later message overwrites.
    int none[4] = {0, 0, 24, 60};
    f.Decode(StaticVoyage(235000001, "", "", 0, none, 0, ""));
    EXPECT_EQ(f.Vessel("235000001").eta, "00/00 24:60");
    EXPECT_EQ(f.Vessel("235000001").name, "");
    EXPECT_EQ(f.s.aisevents[1].messg, " 00/00 24:60 ");
}

TEST(AisDecode, AidToNavigation) {
    Fixture f;
    test::Payload p = test::Payload::Start(21, 992351234);
    p.Put(30, 5).Text("IBC G BUOY", 20).Put(1, 1).Position(37.4, 126.5).Put(0, 53);
    f.Decode(p);
    ASSERT_EQ(f.s.aisevents.count(), 1);
    EXPECT_EQ(f.s.aisevents[0].messg, "Type 30,IBC G BUOY");
    EXPECT_EQ(f.s.aisevents[0].status, 16);
    EXPECT_NEAR(f.s.aisevents[0].coord.lat, 37.4, 1e-9);
    EXPECT_EQ(f.Vessel("992351234").ctry, "QQ unknown");
}

TEST(AisDecode, StaticDataReportPartsAAndB) {
    Fixture f;
    f.Decode(test::Payload::Start(24, 235000002).Put(0, 2).Text("PROGUY", 20).Put(0, 8));
    test::Payload b = test::Payload::Start(24, 235000002);
    b.Put(1, 2).Put(60, 8).Put(0, 18).Put(0, 4).Put(0, 20).Text("TC6163", 7).Put(3, 9).Put(12, 9).Put(2, 6).Put(3, 6);
    const std::size_t standard = b.size() + 6;  // 168 bits: the mother ship's field is cut short
    b.Put(0, static_cast<int>(168 - b.size()));
    ASSERT_EQ(b.size(), standard);
    f.Decode(b);
    test::Payload withship = test::Payload::Start(24, 235000002);
    withship.Put(1, 2).Put(60, 8).Put(0, 42).Text("TC6163", 7).Put(0, 30).Put(982351234, 30);
    f.Decode(withship);
    ASSERT_EQ(f.s.aisevents.count(), 3);
    EXPECT_EQ(f.s.aisevents[0].messg, "A:PROGUY");
    EXPECT_EQ(f.s.aisevents[1].messg, "B:MS=0");
    EXPECT_EQ(f.s.aisevents[2].messg, "B:MS=982351234");
    for (const TaisEvent& e : f.s.aisevents) EXPECT_EQ(e.status, 16);
    ASSERT_EQ(f.s.vehicles.count(), 1);
    const TVehicle& v = f.Vessel("235000002");
    EXPECT_EQ(v.name, "PROGUY");
    EXPECT_EQ(v.call, "TC6163");
    EXPECT_EQ(v.vtype, 60);
    EXPECT_EQ(v.length, 0);  // the last part B carried zero distances
    EXPECT_EQ(v.width, 0);
    EXPECT_LT(v.draught, -1e24f);
}

TEST(AisDecode, UnprocessedTypesStillCreateReportAndVessel) {
    for (const int msgtype : {0, 6, 8, 20, 63}) {
        SCOPED_TRACE(msgtype);
        Fixture f;
        f.Decode(test::Payload::Start(msgtype, 235000003).Put(0, 130));
        ASSERT_EQ(f.s.aisevents.count(), 1);
        const TaisEvent& e = f.s.aisevents[0];
        EXPECT_EQ(e.msgtype, msgtype);
        EXPECT_EQ(e.messg, "Unprocessed AIS event");
        EXPECT_EQ(e.utcsecs, -1);
        EXPECT_EQ(e.utcdate, -1);
        EXPECT_EQ(e.coord.lat, novalue);
        EXPECT_EQ(e.coord.lng, novalue);
        EXPECT_TRUE(e.valid);
        EXPECT_EQ(e.status, 16);
        EXPECT_EQ(f.Vessel("235000003").ctry, "GB United Kingdom");
    }
}

TEST(AisDecode, OwnVesselAndMmsiTexts) {
    Fixture f;
    f.Decode(test::PositionReport(235000004, 0, 0, 0, 1, 1, 0, 0, 0), "VDO");
    EXPECT_TRUE(f.Vessel("235000004").me);
    EXPECT_EQ(f.s.ownmmsi, "235000004");
    f.Decode(test::PositionReport(235000004, 0, 0, 0, 1, 1, 0, 0, 0), "VDM");
    EXPECT_FALSE(f.Vessel("235000004").me);
    EXPECT_EQ(f.s.ownmmsi, "235000004");
    EXPECT_EQ(f.s.vehicles.count(), 1);

    // MMSI 0 is ignored; ten digits are kept; short ones are zero-filled.
    f.Decode(test::PositionReport(0, 0, 0, 0, 1, 1, 0, 0, 0));
    f.Decode(test::PositionReport(1073741823, 0, 0, 0, 1, 1, 0, 0, 0));
    f.Decode(test::PositionReport(2320061, 0, 0, 0, 1, 1, 0, 0, 0));
    EXPECT_EQ(f.s.aisevents.count(), 4);
    EXPECT_EQ(f.s.vehicles.count(), 3);
    EXPECT_EQ(f.s.vehicles[0].id, "002320061");
    EXPECT_EQ(f.s.vehicles[0].ctry, "QQ unknown");  // XG, not in the table
    EXPECT_EQ(f.s.vehicles[2].id, "1073741823");
}

TEST(AisDecode, TruncatedPayloadReadsZeros) {
    Fixture f;
    const std::string full = test::PositionReport(235000005, 5, 0, 100, 1, 1, 0, 90, 12).Armour();
    for (std::size_t n = 7; n < full.size(); n += 5) {
        SCOPED_TRACE(n);
        f.s.aisevents.clear();
        DecodeAIS(f.s, std::string_view(full).substr(0, n), "VDM");
        ASSERT_EQ(f.s.aisevents.count(), 1);
        EXPECT_EQ(f.s.aisevents[0].id, 235000005);
    }
    // Seven characters hold 42 bits: type, MMSI and status; everything after reads as zero.
    f.s.aisevents.clear();
    DecodeAIS(f.s, std::string_view(full).substr(0, 7), "VDM");
    const TaisEvent& e = f.s.aisevents[0];
    EXPECT_EQ(e.status, 5);
    EXPECT_EQ(e.sog, 0);
    EXPECT_FALSE(e.valid);  // 0, 0
    EXPECT_EQ(e.heading, 0);
}

TEST(AisDecode, VesselLimit) {
    Fixture f;
    for (std::int32_t i = 0; i < vessellimit; ++i)
        f.Decode(test::PositionReport(200000000 + i, 0, 0, 0, 1, 1, 0, 0, 0));
    ASSERT_EQ(f.s.vehicles.count(), vessellimit);
    EXPECT_TRUE(f.s.limitname.empty());
    // A known vessel is still decoded; a new one stops the load.
    f.Decode(test::PositionReport(200000000, 0, 0, 0, 1, 1, 0, 0, 0));
    EXPECT_EQ(f.s.aisevents.count(), vessellimit + 1);
    EXPECT_TRUE(f.s.limitname.empty());
    f.Decode(test::PositionReport(300000000, 0, 0, 0, 1, 1, 0, 0, 0));
    EXPECT_EQ(f.s.limitname, "Vessels");
    EXPECT_EQ(f.s.limithit, vessellimit);
    EXPECT_EQ(f.s.vehicles.count(), vessellimit);
    EXPECT_EQ(f.s.aisevents.count(), vessellimit + 1);
    // The order survives insertions in every position.
    EXPECT_EQ(f.s.vehicles[0].id, "200000000");
    EXPECT_EQ(f.s.vehicles[vessellimit - 1].id, "200019999");
}

TEST(AisDecode, ReportLimit) {
    Fixture f;
    const std::string known = test::PositionReport(235000006, 0, 0, 0, 1, 1, 0, 0, 0).Armour();
    for (std::int32_t i = 0; i < aisreportlimit; ++i) DecodeAIS(f.s, known, "VDM");
    ASSERT_EQ(f.s.aisevents.count(), aisreportlimit);
    EXPECT_TRUE(f.s.limitname.empty());
    f.Decode(test::PositionReport(235000007, 0, 0, 0, 1, 1, 0, 0, 0), "VDO");
    EXPECT_EQ(f.s.limitname, "AIS Records");
    EXPECT_EQ(f.s.limithit, aisreportlimit);
    EXPECT_EQ(f.s.aisevents.count(), aisreportlimit);
    EXPECT_EQ(f.s.vehicles.count(), 2);  // the new vessel was made before the stop
    EXPECT_EQ(f.s.ownmmsi, "235000007");
}

}  // namespace
}  // namespace brenvik
