// The sentence handlers: what each stores in the event under construction.
#include <gtest/gtest.h>

#include <vector>

#include "model/datetime.h"
#include "support/loadhelper.h"

namespace brenvik {
namespace {

using test::LineSession;

constexpr double kTol = 1e-9;

struct ValueCase {
    const char* name;
    std::vector<const char*> lines;
    double TEvent::*field;
    double want;
};

// Real-world lines with empty fields store what they hold and skip the rest, without a corrupt line.
TEST(Handlers, StoreConvertedValues) {
    const ValueCase cases[] = {
        {"HDT unwraps up", {"$IIHDT,350,T", "$IIHDT,10,T", "$IIHDT,20,T"}, &TEvent::heading, 380},
        {"HDT unwraps down", {"$IIHDT,10,T", "$IIHDT,350,T"}, &TEvent::heading, -10},
        {"HDT magnetic ignored", {"$IIHDT,10,M"}, &TEvent::heading, novalue},
        {"HDT empty ignored", {"$IIHDT,,T"}, &TEvent::heading, novalue},
        {"DBT", {"$SDDBT,40.4,f,12.3,M,6.7,F"}, &TEvent::depthBT, 12.3},
        {"DBK", {"$SDDBK,40.4,f,12.3,M,6.7,F"}, &TEvent::depthBK, 12.3},
        {"DBS", {"$SDDBS,40.4,f,12.3,M,6.7,F"}, &TEvent::depthBS, 12.3},
        {"DBT leaves depth", {"$SDDBT,40.4,f,12.3,M,6.7,F"}, &TEvent::depth, novalue},
        {"DBT feet only", {"$SDDBT,40.4,f,,M,,F"}, &TEvent::depthBT, 0},
        {"DPT depth", {"$SDDPT,4.1,0.5"}, &TEvent::depth, 4.1},
        {"DPT offset", {"$SDDPT,4.1,0.5"}, &TEvent::tranoffset, 0.5},
        {"DPT empty offset", {"$SDDPT,4.1,"}, &TEvent::depth, 4.1},
        {"MWV knots", {"$WIMWV,045,R,10,N,A"}, &TEvent::windspeed, 10 * 0.51444444444},
        {"MWV m/s", {"$WIMWV,045,R,10,M,A"}, &TEvent::windspeed, 10},
        {"MWV km/h", {"$WIMWV,045,R,10,K,A"}, &TEvent::windspeed, 2.7777777778},
        {"MWV no unit", {"$WIMWV,045,R,10,,A"}, &TEvent::windspeed, 10},
        {"MWV angle", {"$WIMWV,045,R,10,N,A"}, &TEvent::windangle, 45},
        {"MWV invalid clears speed", {"$WIMWV,045,R,10,N,A", "$WIMWV,045,R,10,N,V"}, &TEvent::windspeed, novalue},
        {"MWV invalid clears angle", {"$WIMWV,045,R,10,N,A", "$WIMWV,045,R,10,N,V"}, &TEvent::windangle, 0},
        {"MWV empty speed", {"$WIMWV,045,R,,N,A"}, &TEvent::windspeed, novalue},
        {"ROT", {"$HEROT,-2.5,A"}, &TEvent::rot, -2.5},
        {"ROT invalid", {"$HEROT,-2.5,V"}, &TEvent::rot, novalue},
        {"ROT empty rate", {"$HEROT,,A"}, &TEvent::rot, novalue},
        {"RSA starboard", {"$IIRSA,5.5,A,-3,A"}, &TEvent::rudders, 5.5},
        {"RSA port", {"$IIRSA,5.5,A,-3,A"}, &TEvent::rudderp, -3},
        {"RSA port invalid", {"$IIRSA,5.5,A,-3,V"}, &TEvent::rudderp, novalue},
        {"VBW longitudinal", {"$VWVBW,2,-1,A,,,V"}, &TEvent::longlspd, 2 * 0.51444444444},
        {"VBW transverse", {"$VWVBW,2,-1,A,,,V"}, &TEvent::transspd, -0.51444444444},
        {"VBW invalid", {"$VWVBW,2,-1,V,,,V"}, &TEvent::longlspd, novalue},
        {"VHW true heading wins", {"$IIVHW,10,T,12,M,5,N,9,K"}, &TEvent::waterheading, 10},
        {"VHW km/h wins", {"$IIVHW,10,T,12,M,5,N,9,K"}, &TEvent::waterspeed, 9 * 0.27777777778},
        {"VHW magnetic", {"$IIVHW,,,12,M,5,N,,"}, &TEvent::waterheading, 12},
        {"VHW knots", {"$IIVHW,,,12,M,5,N,,"}, &TEvent::waterspeed, 5 * 0.51444444444},
        {"VHW empty heading", {"$IIVHW,,T,,M,06.11,N,11.32,K"}, &TEvent::waterspeed, 11.32 * 0.27777777778},
        {"VLW total", {"$IIVLW,12.5,N,3.0,N"}, &TEvent::distcumul, 23150},
        {"VLW since reset", {"$IIVLW,12.5,N,3.0,N"}, &TEvent::distreset, 5556},
        {"VLW empty total", {"$SDVLW,,N,545.6,N"}, &TEvent::distreset, 545.6 * 1852},
        {"GSA", {"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"}, &TEvent::hdop, 1.3},
        {"GSA no fix", {"$GPGSA,A,1,,,,,,,,,,,,,,1.3,"}, &TEvent::hdop, novalue},
        {"GSA empty hdop", {"$GPGSA,A,3,,,,,,,,,,,,,,,"}, &TEvent::hdop, novalue},
        {"VTG true track", {"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K"}, &TEvent::track, 54.7},
        {"VTG km/h", {"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K"}, &TEvent::vmg, 10.2 * 0.27777777778},
        {"VTG knots", {"$GPVTG,,,034.4,M,005.5,N,,"}, &TEvent::vmg, 5.5 * 0.51444444444},
        {"VTG magnetic", {"$GPVTG,,,034.4,M,005.5,N,,"}, &TEvent::track, 34.4},
        {"VTG stationary", {"$GPVTG,,T,,M,0.0,N,0.0,K"}, &TEvent::vmg, 0},
        {"VTG hemi", {"$GPVTG,,T,,M,,N,,K,N"}, &TEvent::vmg, novalue},
        {"RMC invalid", {"$GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"},
         &TEvent::speed, novalue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LineSession ls;
        for (const char* l : c.lines) ls.Feed({l});
        EXPECT_NEAR(ls.s.curevent.*c.field, c.want, kTol);
        EXPECT_EQ(ls.s.corruptcount, 0);
    }
}

// HDG and HDM are made true with their own variation or the latest valid RMC's, east positive,
// and stored as an HDT's; once an HDT stored a heading, they store nothing more. A magnetic
// heading with no known variation stores nothing and counts as unprocessed.
TEST(Handlers, MagneticHeadings) {
    constexpr const char* rmcwest = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
    constexpr const char* rmceast = "$IIRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,,003.1,E";
    struct Case {
        const char* name;
        std::vector<const char*> lines;
        double heading;
        std::int32_t unproc;
    };
    const Case cases[] = {
        {"HDG with variation", {"$SDHDG,229.8,,,1.3,E"}, 231.1, 0},
        {"HDG deviation and variation west", {"$IIHDG,10.0,2.0,W,5.0,W"}, 3.0, 0},
        {"HDG brought into 0 to 360", {"$IIHDG,359.0,0.5,E,3.0,E"}, 2.5, 0},
        {"HDG unwraps as HDT", {"$IIHDG,350.0,,,0.0,E", "$IIHDG,10.0,,,0.0,E"}, 370, 0},
        {"HDG without variation takes the RMC's", {rmcwest, "$IIHDG,100.0,1.0,E,,"}, 97.9, 0},
        {"HDG without any variation", {"$IIHDG,100.0,1.0,E,,"}, novalue, 1},
        {"HDG after an invalid RMC", {"$GPRMC,123519,V,,,,,,,230394,003.1,W", "$IIHDG,100.0,,,,"}, novalue, 1},
        {"HDG empty heading", {"$IIHDG,,,,1.3,E"}, novalue, 0},
        {"HDM after an RMC", {rmceast, "$APHDM,100.0,M"}, 103.1, 0},
        {"HDM without an RMC", {"$04HDM,186.5,M"}, novalue, 1},
        {"HDM empty heading", {"$IIHDM,,M"}, novalue, 0},
        {"HDT wins", {"$IIHDT,50.0,T", "$SDHDG,229.8,,,1.3,E", rmceast, "$APHDM,100.0,M"}, 50, 0},
        {"HDT wins from then on", {"$SDHDG,229.8,,,1.3,E", "$IIHDT,230.0,T", "$SDHDG,10.0,,,1.3,E"}, 230, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineSession ls;
        for (const char* l : c.lines) ls.Feed({l});
        EXPECT_NEAR(ls.s.curevent.heading, c.heading, kTol);
        EXPECT_EQ(ls.s.unproclines, c.unproc);
        EXPECT_EQ(ls.s.corruptcount, 0);
    }
}

TEST(Handlers, ModeLetters) {
    LineSession ls;
    ls.Feed({"$WIMWV,045,T,10,N,A", "$IIVHW,,,12,M,5,N,,", "$GPVTG,,T,,M,0.0,N,0.0,K"});
    EXPECT_EQ(ls.s.curevent.windmode, 'T');
    EXPECT_EQ(ls.s.curevent.watermode, 'M');
    EXPECT_EQ(ls.s.curevent.trackmode, 'T');
    ls.Feed({"$WIMWV,045,R,10,N,V"});
    EXPECT_EQ(ls.s.curevent.windmode, '~');
}

TEST(Handlers, StoredValuesStayWhenALaterFieldFails) {
    LineSession ls;
    ls.Feed({"$IIRSA,5.0,A,1.0"});  // no field 4
    EXPECT_EQ(ls.s.curevent.rudders, 5.0);
    EXPECT_EQ(ls.s.curevent.rudderp, novalue);
    EXPECT_EQ(ls.s.corruptcount, 1);
}

TEST(DoZDA, UtcAndZoneOffset) {
    const TDateTime t = *EncodeDate(2012, 3, 15) + *EncodeTime(12, 35, 19, 0);
    struct Case { const char* line; TDateTime utc; std::int32_t offset; const char* message; };
    const Case cases[] = {
        {"$GPZDA,123519.00,15,03,2012,-05,30", t, -330, nullptr},
        {"$GPZDA,123519,15,03,2012,00,30", t, 30, nullptr},
        {"$GPZDA,123519,15,03,2012,02", t, 120, nullptr},
        {"$GPZDA,123519,15,03,2012,,", t, 0, nullptr},
        {"$GPZDA,123519,,,,,", 1.5, 0, nullptr},  // no date: utc stays
        {"$GPZDA,123519,15,03,,00,00", 1.5, 0, nullptr},
        {"$GPZDA,123519,45,13,2012,00,00", 0, 0, "Error=13 45 2012 12:35:19"},
        {"$GPZDA,,15,03,2012,00,00", 0, 0, "Error=03 15 2012 ::"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        LineSession ls;
        ls.s.curevent.utc = 1.5;
        ls.Feed({c.line});
        EXPECT_NEAR(ls.s.curevent.utc, c.utc, kSecond / 1000);
        EXPECT_EQ(ls.s.curevent.timeoffset, c.offset);
        EXPECT_EQ(ls.s.corruptcount, 0);
        if (c.message) {
            ASSERT_EQ(ls.platform.messages.size(), 1u);
            EXPECT_EQ(ls.platform.messages[0].text, c.message);
        } else {
            EXPECT_TRUE(ls.platform.messages.empty());
        }
    }
}

TEST(DoGGA, TheFixCutsAnEventAtItsTimeAndPosition) {
    LineSession ls;
    ls.s.curevent.dts = *EncodeDate(2012, 3, 15);
    ls.Feed({"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"});
    ASSERT_EQ(ls.s.events.count(), 1);
    const TEvent& e = ls.s.events[0];
    EXPECT_NEAR(e.coord.lat, 48.1173, kTol);
    EXPECT_NEAR(e.coord.lng, 11.5166666667, 1e-9);
    EXPECT_NEAR(e.dts, *EncodeDate(2012, 3, 15) + *EncodeTime(12, 35, 19, 0), kSecond / 1000);
    EXPECT_EQ(e.hdop, 0.9);
    EXPECT_EQ(e.antalt, 545.4);
    EXPECT_EQ(e.recnumb, 1);
}

TEST(DoGGA, NoFixBadFieldsAndEmptyFields) {
    struct Case { const char* line; int events; double hdop; };
    const Case cases[] = {
        {"$GPGGA,123519,4807.038,N,01131.000,E,0,08,0.9,545.4,M,46.9,M,,", 0, novalue},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,,,M,,M,,", 1, novalue},  // still cuts
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,x,0.9,545.4,M", 0, novalue},
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,bad,M", 0, 0.9},  // stored before the failure
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9", 0, 0.9},
        {"$GPGGA,123519,4.807038,N,01131.000,E,1,08,0.9,545.4,M", 0, novalue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        LineSession ls;
        ls.Feed({c.line});
        EXPECT_EQ(ls.s.events.count(), c.events);
        EXPECT_EQ(ls.s.curevent.hdop, c.hdop);
        EXPECT_EQ(ls.s.corruptcount, 0);  // GGA swallows its own failures
        EXPECT_EQ(ls.s.unproclines, 0);
    }
}

TEST(DoRMC, SpeedCourseAndTheSentencesDate) {
    LineSession ls;
    ls.Feed({"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"});
    ASSERT_EQ(ls.s.events.count(), 1);
    const TEvent& e = ls.s.events[0];
    EXPECT_NEAR(e.speed, 11.523555555, 1e-8);
    EXPECT_EQ(e.cmg, 84.4);
    EXPECT_NEAR(e.dts, *EncodeDate(1994, 3, 23) + *EncodeTime(12, 35, 19, 0), kSecond / 1000);
    EXPECT_EQ(ls.s.curevent.magvar, 0);  // not carried into the next event
    EXPECT_EQ(e.magvar, 3.1);
}

// An RMC without a date (instrument systems repeat the fix so) is dated as a GGA time.
TEST(DoRMC, AnEmptyDateIsPlacedLikeAGgaTime) {
    LineSession ls;
    ls.Feed({"$GPRMC,235959,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
             "$IIRMC,000001,A,4807.038,N,01131.000,E,022.4,084.4,,003.1,W"});
    ASSERT_EQ(ls.s.events.count(), 2);
    EXPECT_NEAR(ls.s.events[1].dts, *EncodeDate(1994, 3, 24) + *EncodeTime(0, 0, 1, 0), kSecond / 1000);
}

TEST(DoGLL, CutsOnlyWhenValid) {
    LineSession ls;
    ls.Feed({"$GPGLL,4916.45,N,12311.12,W,225444,V", "$GPGLL,4916.45,N,12311.12,W,225444,A"});
    ASSERT_EQ(ls.s.events.count(), 1);
    EXPECT_NEAR(ls.s.events[0].coord.lng, -123.185333333, 1e-8);
}

TEST(DoALR, StageAndAlarmText) {
    struct Case { std::vector<const char*> lines; const char* bwalarm; };
    const Case cases[] = {
        {{"$BWALR,101112,1,A,V,HIGH WATER"}, "2:$BWALR,101112,1,A,V,HIGH,WATER"},
        {{"$BWALR,101112,1,A,V,X", "$AIALR,101113,2,V,A,Y"}, "2:$BWALR,101112,1,A,V,X|$AIALR,101113,2,V,A,Y"},
        {{"$BWALR,101112,1,V,A,OK"}, "0:$BWALR,101112,1,V,A,OK"},
        {{"$BWALR,101112,1,V,A,PROBLEM"}, "1:$BWALR,101112,1,V,A,PROBLEM"},
        {{"$BWALR,101112,1,V,V,NORMAL"}, "0:$BWALR,101112,1,V,V,NORMAL"},
        {{"$BWALR,101112,1,V,V,LOW"}, "1:$BWALR,101112,1,V,V,LOW"},
        {{"$BWALR,101112,1,A,A,X"}, "1:$BWALR,101112,1,A,A,X"},
        {{"$BWALR,,,,,X"}, "0:$BWALR,,,,,X"},  // empty condition "V", acknowledge "A"
        // The stage rises in place and never falls; each text test sees its own sentence only.
        {{"$BWALR,,1,V,V,NORMAL", "$BWALR,,2,V,V,LOW", "$BWALR,,3,A,V,X", "$BWALR,,4,V,A,OK"},
         "2:$BWALR,,1,V,V,NORMAL|$BWALR,,2,V,V,LOW|$BWALR,,3,A,V,X|$BWALR,,4,V,A,OK"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bwalarm);
        LineSession ls;
        for (const char* l : c.lines) ls.Feed({l});
        EXPECT_EQ(ls.s.curevent.bwalarm, c.bwalarm);
        EXPECT_EQ(ls.s.events.count(), 0);  // alarms never cut by default
    }
}

TEST(DoFEC, CollectsProprietarySentences) {
    LineSession ls;
    ls.Feed({"$PFEC,GPatt,1.5,2", "$PFEC,AIcmd,x y"});
    EXPECT_EQ(ls.s.curevent.proprietary, "GPatt,1.5,2|AIcmd,x,y");
}

}  // namespace
}  // namespace brenvik
