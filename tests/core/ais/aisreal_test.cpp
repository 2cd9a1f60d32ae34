// Real sentences from public AIS captures (gpsd's sample.aivdm and ais-nmea-type6-fid55.log,
// BSD-2-Clause). The expected values were checked against gpsdecode's unscaled output.
#include <gtest/gtest.h>

#include "aispayload.h"
#include "support/fakeplatform.h"

namespace brenvik {
namespace {

constexpr double kKnot = 0.51444444444;

struct Fixture {
    test::FakePlatform p;
    Session s{p};
    std::int32_t line = 0;
    void Feed(std::initializer_list<const char*> sentences) {
        for (const char* sentence : sentences) test::Feed(s, sentence, ++line);
    }
    const TaisEvent& Last() const { return s.aisevents[s.aisevents.count() - 1]; }
};

TEST(AisReal, PositionReports) {
    struct Case {
        const char* sentence;
        std::int32_t msgtype, mmsi, status;
        double lat, lng, sog, cog, heading, rot;
        std::int32_t second;
    };
    const Case cases[] = {
        {"!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0", 1, 371798000, 0, 29028980 / 600000.0,
         -74037230 / 600000.0, 12.3 * kKnot, 224.0, 215, -127, 33},
        // Heading 511 and rate of turn -128: not available.
        {"!AIVDM,1,1,,A,16SteH0P00Jt63hHaa6SagvJ087r,0", 1, 440348000, 0, 43.08015, -70.7582, 0, 93.4, novalue,
         novalue, 13},
        {"!AIVDM,1,1,,A,38Id705000rRVJhE7cl9n;160000,0", 3, 563808000, 5, 36.91, -45796520 / 600000.0, 0, 252.0, 352,
         0, 35},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sentence);
        Fixture f;
        f.Feed({c.sentence});
        ASSERT_EQ(f.s.aisevents.count(), 1);
        const TaisEvent& e = f.Last();
        EXPECT_EQ(e.msgtype, c.msgtype);
        EXPECT_EQ(e.id, c.mmsi);
        EXPECT_EQ(e.status, c.status);
        EXPECT_NEAR(e.coord.lat, c.lat, 1e-9);
        EXPECT_NEAR(e.coord.lng, c.lng, 1e-9);
        EXPECT_NEAR(e.sog, c.sog, 1e-9);
        EXPECT_NEAR(e.cog, c.cog, 1e-9);
        EXPECT_EQ(e.heading, c.heading);
        EXPECT_EQ(e.rot, c.rot);
        EXPECT_EQ(e.utcsecs, c.second);
        EXPECT_TRUE(e.valid);
    }
}

TEST(AisReal, ImpossibleDateIsAFault) {
    // gpsdecode reads the year 10196, month 0.
    Fixture f;
    f.line = 1025;
    f.Feed({"!AIVDM,1,1,,B,4>O7m7Iu@<9qUfbtm`vSnwvH20S8,0"});
    EXPECT_EQ(f.s.aisevents.count(), 0);
    ASSERT_EQ(f.p.messages.size(), 1u);
    EXPECT_EQ(f.p.messages[0].text, "DecodeAIS Fault: 4>O7m7Iu@<9qUfbtm`vSnwvH20S8\nInvalid date\n4 1026");
    EXPECT_NE(f.s.vehicles.findvehicle("972158237"), nullptr);
}

TEST(AisReal, StaticVoyageDataInTwoFragments) {
    Fixture f;
    f.Feed({"!AIVDM,2,1,1,A,55?MbV02;H;s<HtKR20EHE:0@T4@Dn2222222216L961O5Gf0NSQEp6ClRp8,0",
            "!AIVDM,2,2,1,A,88888888880,2",
            // The call sign starts with fill characters: they become blanks and are trimmed.
            "!AIVDM,2,1,7,A,53aGulD0000000c7?0918Tq<E>0<Q8U=@Tp400155P:22uG`002ShTj0,0",
            "!AIVDM,2,2,7,A,EQC`4Sm51A0C@08,2"});
    ASSERT_EQ(f.s.aisevents.count(), 2);
    EXPECT_EQ(f.s.aisevents[0].srcnumb, 2);
    EXPECT_EQ(f.s.aisevents[0].status, 70);
    EXPECT_EQ(f.s.aisevents[0].messg, "EVER DIADEM 15/05 14:00 NEW YORK");
    const TVehicle& v = *f.s.vehicles.findvehicle("351759000");
    EXPECT_EQ(v.call, "3FOF8");
    EXPECT_EQ(v.name, "EVER DIADEM");
    EXPECT_EQ(v.vtype, 70);
    EXPECT_EQ(v.length, 225 + 70);
    EXPECT_EQ(v.width, 1 + 31);
    EXPECT_FLOAT_EQ(v.draught, 12.2f);
    EXPECT_EQ(v.eta, "15/05 14:00");
    EXPECT_EQ(v.dest, "NEW YORK");
    const TVehicle& w = *f.s.vehicles.findvehicle("244710865");
    EXPECT_EQ(w.call, "J130B");
    EXPECT_EQ(w.name, "PRINSES CHRISTINA");
    EXPECT_EQ(w.vtype, 69);
    EXPECT_EQ(w.length, 54);
    EXPECT_EQ(w.width, 4);
    EXPECT_EQ(w.draught, 0.0f);
    EXPECT_EQ(w.eta, "15/05 08:00");
    EXPECT_EQ(w.dest, "JOBSHAVEN ROTTEDAM");
}

TEST(AisReal, AidToNavigationAndStaticDataReport) {
    Fixture f;
    f.Feed({"!AIVDM,2,1,5,B,E1mg=5J1T4W0h97aRh6ba84<h2d;W:Te=eLvH50```q,0", "!AIVDM,2,2,5,B,:D44QDlp0C1DU00,2",
            "!AIVDM,1,1,,A,H42O55i18tMET00000000000000,2", "!AIVDM,1,1,,A,H42O55lti4hhhilD3nink000?050,0"});
    ASSERT_EQ(f.s.aisevents.count(), 3);
    // Only the first 20 characters of the name: the name extension is not read.
    EXPECT_EQ(f.s.aisevents[0].messg, "Type 20,CHINA ROSE MURPHY EX");
    EXPECT_NEAR(f.s.aisevents[0].coord.lat, 28752371 / 600000.0, 1e-9);
    EXPECT_NEAR(f.s.aisevents[0].coord.lng, -73619155 / 600000.0, 1e-9);
    EXPECT_EQ(f.s.aisevents[1].messg, "A:PROGUY");
    EXPECT_EQ(f.s.aisevents[2].messg, "B:MS=0");
    const TVehicle& v = *f.s.vehicles.findvehicle("271041815");
    EXPECT_EQ(v.name, "PROGUY");
    EXPECT_EQ(v.call, "TC6163");
    EXPECT_EQ(v.vtype, 60);
    EXPECT_EQ(v.length, 15);
    EXPECT_EQ(v.width, 5);
}

}  // namespace
}  // namespace brenvik
