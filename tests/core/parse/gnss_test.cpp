// Position and time sentences from receivers that are not GPS-only: combined GNSS (GN) and the
// single constellations.
#include <gtest/gtest.h>

#include "model/datetime.h"
#include "support/loadhelper.h"

namespace brenvik {
namespace {

constexpr double kTol = 1e-9;

TDateTime At(int y, int mo, int d, int h, int mi, int s) { return *EncodeDate(y, mo, d) + *EncodeTime(h, mi, s, 0); }

// From gpsd's test/daemon/ublox-8.log (u-blox MAX-M8Q, 2017; BSD terms): three fixes, each an
// RMC, VTG, GGA, two GSA (GPS, then GLONASS; both carry the combined solution's DOPs), the
// satellites in view, GLL and ZDA.
constexpr const char* ublox8 =
    "# Name:Uputronics GPS HAT Version 1\r\n"
    "$GNRMC,000941.00,A,4404.13387,N,12118.85628,W,0.029,,100117,,,A*7D\r\n"
    "$GNVTG,,T,,M,0.029,N,0.053,K,A*30\r\n"
    "$GNGGA,000941.00,4404.13387,N,12118.85628,W,1,12,1.01,1144.8,M,-21.4,M,,*4D\r\n"
    "$GNGSA,A,3,23,09,16,07,26,03,27,22,,,,,1.71,1.01,1.38*1B\r\n"
    "$GNGSA,A,3,80,70,73,79,69,71,,,,,,,1.71,1.01,1.38*1D\r\n"
    "$GPGSV,4,1,16,02,05,307,,03,21,174,29,04,12,038,23,06,07,270,06*7E\r\n"
    "$GLGSV,3,3,09,88,07,028,*51\r\n"
    "$GNGLL,4404.13387,N,12118.85628,W,000941.00,A,A*69\r\n"
    "$GNZDA,000941.00,10,01,2017,00,00*70\r\n"
    "$GNRMC,000942.00,A,4404.13401,N,12118.85633,W,0.041,,100117,,,A*73\r\n"
    "$GNVTG,,T,,M,0.041,N,0.076,K,A*39\r\n"
    "$GNGGA,000942.00,4404.13401,N,12118.85633,W,1,12,1.01,1144.9,M,-21.4,M,,*4C\r\n"
    "$GNGSA,A,3,23,09,16,07,26,03,27,22,,,,,1.71,1.01,1.38*1B\r\n"
    "$GNGSA,A,3,80,70,73,79,69,71,,,,,,,1.71,1.01,1.38*1D\r\n"
    "$GNGLL,4404.13401,N,12118.85633,W,000942.00,A,A*69\r\n"
    "$GNZDA,000942.00,10,01,2017,00,00*73\r\n"
    "$GNRMC,000943.00,A,4404.13403,N,12118.85633,W,0.023,,100117,,,A*74\r\n"
    "$GNVTG,,T,,M,0.023,N,0.043,K,A*3B\r\n"
    "$GNGGA,000943.00,4404.13403,N,12118.85633,W,1,12,1.01,1145.1,M,-21.4,M,,*46\r\n"
    "$GNGSA,A,3,23,09,16,07,26,03,27,22,,,,,1.71,1.01,1.38*1B\r\n"
    "$GNGLL,4404.13403,N,12118.85633,W,000943.00,A,A*6A\r\n"
    "$GNZDA,000943.00,10,01,2017,00,00*72\r\n";

struct Want {
    TDateTime dts;
    double lat, lng;  // minutes as written in the log
    double speedknots;
    double hdop, antalt, vmgkmh;
    TDateTime utc;
    std::int32_t recnumb;
};

TEST(Gnss, CombinedGnssCaptureGivesAnEventPerFix) {
    const auto log = test::LoadText(ublox8);
    ASSERT_EQ(log->outcome, LoadOutcome::Complete);
    const auto& s = log->s;
    EXPECT_EQ(s.totlines, 22);
    EXPECT_EQ(s.unproclines, 2);  // the two GSV
    EXPECT_EQ(s.corruptcount, 0);
    // Each RMC cuts (one second later), so an event carries its RMC and the rest of the
    // fix before it; the last event is the loader's final cut one second after the last RMC.
    const Want want[] = {
        {At(2017, 1, 10, 0, 9, 41), 4.13387, 18.85628, 0.029, novalue, novalue, novalue, 0, 2},
        {At(2017, 1, 10, 0, 9, 42), 4.13401, 18.85633, 0.041, 1.01, 1144.8, 0.053, At(2017, 1, 10, 0, 9, 41), 11},
        {At(2017, 1, 10, 0, 9, 43), 4.13403, 18.85633, 0.023, 1.01, 1144.9, 0.076, At(2017, 1, 10, 0, 9, 42), 18},
        {At(2017, 1, 10, 0, 9, 44), 4.13403, 18.85633, 0.023, 1.01, 1145.1, 0.043, At(2017, 1, 10, 0, 9, 43), 23},
    };
    ASSERT_EQ(s.events.count(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TEvent& e = s.events[i];
        const Want& w = want[i];
        EXPECT_NEAR(e.dts, w.dts, kSecond / 1000);
        EXPECT_NEAR(e.coord.lat, 44 + w.lat / 60, kTol);
        EXPECT_NEAR(e.coord.lng, -(121 + w.lng / 60), kTol);
        EXPECT_NEAR(e.speed, w.speedknots * 0.51444444444, kTol);
        EXPECT_NEAR(e.hdop, w.hdop, kTol);
        EXPECT_NEAR(e.antalt, w.antalt, kTol);
        EXPECT_NEAR(e.vmg, w.vmgkmh == novalue ? novalue : w.vmgkmh * 0.27777777778, kTol);
        EXPECT_NEAR(e.utc, w.utc, kSecond / 1000);
        EXPECT_EQ(e.recnumb, w.recnumb);
    }
}

// A receiver that changed from GPS-only to combined output within the log, and sentences of
// the single constellations: every one takes part, and a GP and a GN sentence of the same
// second cut no second event.
TEST(Gnss, MixedTalkersShareOneTrack) {
    const std::string text = test::WithChecksum("$GPRMC,120000,A,5400.000,N,01000.000,E,10.0,90.0,150312,,") + "\r\n" +
                             test::WithChecksum("$GNGGA,120000,5400.001,N,01000.001,E,1,09,1.5,12.0,M,,M,,") + "\r\n" +
                             test::WithChecksum("$GNRMC,120010,A,5400.000,N,01001.000,E,11.0,91.0,150312,,") + "\r\n" +
                             test::WithChecksum("$GLGSA,A,3,65,66,,,,,,,,,,,2.0,0.8,1.8") + "\r\n" +
                             test::WithChecksum("$GAGLL,5400.000,N,01002.000,E,120020,A") + "\r\n" +
                             test::WithChecksum("$BDVTG,92.0,T,,M,12.0,N,,") + "\r\n" +
                             test::WithChecksum("$INGGA,120030,5400.000,N,01003.000,E,1,09,0.9,13.0,M,,M,,") + "\r\n" +
                             test::WithChecksum("$GNGSV,1,1,01,65,10,100,30") + "\r\n";
    const auto log = test::LoadText(text);
    ASSERT_EQ(log->outcome, LoadOutcome::Complete);
    const auto& s = log->s;
    EXPECT_EQ(s.totlines, 8);
    EXPECT_EQ(s.unproclines, 1);
    struct Cut { TDateTime dts; double lngminutes; double hdop; };
    const Cut want[] = {
        {At(2012, 3, 15, 12, 0, 0), 0.000, novalue},
        {At(2012, 3, 15, 12, 0, 10), 1.000, 1.5},
        {At(2012, 3, 15, 12, 0, 20), 2.000, 0.8},
        {At(2012, 3, 15, 12, 0, 30), 3.000, 0.9},  // GGA stores HDOP before its cut
        {At(2012, 3, 15, 12, 0, 31), 3.000, 0.9},
    };
    ASSERT_EQ(s.events.count(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(s.events[i].dts, want[i].dts, kSecond / 1000);
        EXPECT_NEAR(s.events[i].coord.lng, 10 + want[i].lngminutes / 60, kTol);
        EXPECT_NEAR(s.events[i].hdop, want[i].hdop, kTol);
    }
    EXPECT_NEAR(s.events[3].vmg, 12.0 * 0.51444444444, kTol);
}

}  // namespace
}  // namespace brenvik
