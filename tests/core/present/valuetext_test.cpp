#include <cstdint>
#include "present/valuetext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "model/datetime.h"
#include "model/strutil.h"

namespace brenvik {
namespace {

TFormat Units(char hunits, char vunits = 'M') {
    TFormat f;
    f.parms.hunits = hunits;
    f.parms.vunits = vunits;
    return f;
}

TDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return *EncodeDate(y, mo, d) + *EncodeTime(h, mi, s, 0);
}

TEST(Conversions, UnitLetters) {
    // The km/h and knot factors are the written decimals, not 1/3.6 or 1852/3600.
    EXPECT_NE(ToMps('K', 3.6), 1.0);
    EXPECT_NEAR(ToMps('K', 3.6), 1.0, 1e-10);
    EXPECT_NE(FromMps('N', 1852.0 / 3600), 1.0);
    struct Case { double (*fn)(char, double); char unit; double v; double result; };
    const Case cases[] = {
        {ToMps, 'M', 7, 7},           {ToMps, 'k', 7, 7},          {ToMetres, 'N', 2, 3704},
        {ToMetres, 'K', 2, 2000},     {FromMetres, 'N', 3704, 2},  {FromMetres, 'K', 2500, 2.5},
        {FromMetres, 'F', 5, 5},      {FromMetresVert, 'T', 1.8288, 1}, {FromMetresVert, 'N', 5, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.unit) + " " + std::to_string(c.v));
        EXPECT_EQ(c.fn(c.unit, c.v), c.result);
    }
}

TEST(ValueTexts, UnitsWidthsAndInvalidMark) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    using TextFn = std::function<std::string(const TFormat&, double)>;
    struct Case {
        const char* name;
        TextFn fn;
        TFormat f;
        double v;
        std::string text;
    };
    const Case cases[] = {
        {"speed novalue", SpeedText, Units('N'), novalue, "  ***"},
        {"speed nan", SpeedText, Units('N'), nan, "  ***"},
        {"speed 0 knots", SpeedText, Units('N'), 0, "  0.00"},
        {"speed 1 m/s in knots", SpeedText, Units('N'), 1, "  1.94"},
        {"speed 10 m/s in km/h", SpeedText, Units('K'), 10, " 36.00"},
        {"speed m/s", SpeedText, Units('M'), 2.5, "  2.50"},
        {"speed longer text not cut", SpeedText, Units('M'), 123456.789, "123456.79"},
        {"speed -1e24 still valid", SpeedText, Units('M'), -1e24, Fmt("%6.2f", -1e24).c_str()},
        {"vert 10 m feet", VertText, Units('M', 'F'), 10, " 32.81"},
        {"vert 10 m fathoms", VertText, Units('M', 'T'), 10, "  5.47"},
        {"vert novalue", VertText, Units('M', 'F'), novalue, "  ***"},
        {"dist 1852 m nm", DistText, Units('N'), 1852, "    1.00"},
        {"dist km", DistText, Units('K'), 12345, "   12.35"},
        {"dist invalid", DistText, Units('K'), -2e24, "  ***"},
        {"angle", AngleText, Units('M'), -12.345, "  -12.35"},
        {"rot", RotText, Units('M'), 3.14159, "  3.14"},
        {"hdop", HdopText, Units('M'), 0.9, "  0.9"},
        {"hdop cut to five", HdopText, Units('M'), 1234.5, "1234."},
        {"hdop invalid", HdopText, Units('M'), novalue, "  ***"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.fn(c.f, c.v), c.text);
    }
}

TEST(ValueTexts, HeadingTurns) {
    struct Case { double v; bool rotations; std::string text; };
    const Case cases[] = {
        {725, false, "    5.00"},   {725, true, "  725.00"},  {-10, false, "  350.00"},
        {-10, true, "  -10.00"},    {360, false, "    0.00"}, {-360, false, "    0.00"},
        {-730, false, "  350.00"},  {359.5, false, "  359.50"}, {-1e-20, false, "    0.00"},
        {1e24, false, Fmt("%8.2f", std::fmod(1e24, 360.0)).c_str()}, {novalue, false, "  ***"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.v);
        TFormat f;
        f.rotations = c.rotations;
        EXPECT_EQ(HeadingText(f, c.v), c.text);
    }
}

TEST(ValueTexts, CommaDecimalSeparator) {
    TFormat f = Units('N', 'F');
    f.decsep = ',';
    f.timesep = '.';
    f.coordformat = 'M';
    EXPECT_EQ(SpeedText(f, 1), "  1,94");
    EXPECT_EQ(VertText(f, 10), " 32,81");
    EXPECT_EQ(HdopText(f, 1234.5), "1234,");
    EXPECT_EQ(CoordText(f, false, 51.5), " 51\u00B030,0000'");
    EXPECT_EQ(LatLonPair(f, 1.5, -2.25), "01,500000 -002,250000");
    EXPECT_EQ(TimeText(f, At(2024, 3, 1, 12, 35, 19)), "12.35.19");
    f.dateformat = 'N';
    EXPECT_EQ(DateText(f, 45000.25), "45000,250000");
}

TEST(ValueTexts, OffsetSecondsLessWholeDays) {
    const TDateTime vdr = At(2024, 5, 1, 0, 0, 10);
    const TDateTime sent = At(2024, 5, 1, 23, 59, 50);
    const TDateTime sentbefore = At(2024, 4, 30, 23, 59, 50);
    struct Case { const char* name; double days; const char* text; };
    const Case cases[] = {
        {"VDR same date", sent - vdr, "   -20"},
        {"VDR next date", sentbefore - vdr, "   -20"},
        {"half a second rounds to even", 0.5 / 86400, "     0"},
        {"one and a half seconds", 1.5 / 86400, "     2"},
        {"half a day", 0.5, " 43200"},
        {"minus zero", -0.1 / 86400, "     0"},
        {"invalid", novalue, "  ***"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OffsetText(TFormat{}, c.days), c.text);
    }
}

TEST(DateTimeTexts, FormatsAndNumericTimes) {
    const TDateTime t = At(2024, 3, 7, 9, 5, 3);
    struct Case { char dateformat; TDateTime firstdts; TDateTime v; std::string date; const char* time; };
    const Case cases[] = {
        {'D', 0, t, "07-03-2024", "09:05:03"},
        {'M', 0, t, "03-07-2024", "09:05:03"},
        {'Y', 0, t, "2024-03-07", "09:05:03"},
        {'D', 0, 0, "30-12-1899", "00:00:00"},
        {'D', 0, -1.25, "29-12-1899", "06:00:00"},
        {'N', t, t, Fmt("%.6f", t).c_str(), "     0"},
        {'N', t, t - 0.5, Fmt("%.6f", t - 0.5).c_str(), "-43200"},
        {'N', t, t + 2.25, Fmt("%.6f", t + 2.25).c_str(), " 21600"},
        // Outside the years 1 to 9999 every date and time text is the invalid mark.
        {'D', 0, novalue, "  ***", "  ***"},
        {'Y', 0, 3e6, "  ***", "  ***"},
        {'N', 0, -7e5, "  ***", "  ***"},
        {'N', 0, std::numeric_limits<double>::infinity(), "  ***", "  ***"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.dateformat) + " " + std::to_string(c.v));
        TFormat f;
        f.dateformat = c.dateformat;
        f.firstdts = c.firstdts;
        EXPECT_EQ(DateText(f, c.v), c.date);
        EXPECT_EQ(TimeText(f, c.v), c.time);
    }
}

TEST(DateTimeTexts, RoundsToTheMillisecondBeforeSplitting) {
    TFormat f;
    const TDateTime t = At(2024, 3, 1, 12, 35, 19) - 1e-9;  // 12:35:18.9999999
    EXPECT_EQ(TimeText(f, t), "12:35:19");
    EXPECT_EQ(DateTimeText(f, At(2024, 12, 31, 23, 59, 59) + 0.9996 / 86400, "dd-mm-yyyy HH:nn:ss"),
              "01-01-2025 00:00:00");
    EXPECT_EQ(DateTimeText(f, At(2024, 12, 31, 23, 59, 59) + 0.9994 / 86400, "yyyy/mm/dd HH:nn:ss"),
              "2024/12/31 23:59:59");
}

TEST(Coordinates, FormatsAndCarries) {
    struct Case { char fmt; bool lng; double v; const char* text; };
    const Case cases[] = {
        {'D', false, 51.5, "51.500000"},
        {'D', true, -0.1275, "-000.127500"},
        {'D', false, -0.0000001, "00.000000"},
        {'N', false, 51.5, "5130.0000 N"},
        {'N', true, -0.1275, "00007.6500 W"},
        {'N', false, -33.25, "3315.0000 S"},
        {'N', true, 151.2, "15112.0000 E"},
        {'M', false, 51.5, " 51\u00B030.0000'"},
        {'S', true, -0.1275, "-000\u00B007'39.00\""},
        {'M', false, 10.9999999, " 11\u00B000.0000'"},
        {'S', false, 10.9999999, " 11\u00B000'00.00\""},
        {'S', false, 10.99999, " 10\u00B059'59.96\""},
        {'S', true, 179.99999, " 179\u00B059'59.96\""},
        {'S', false, 10.5 + 59.998 / 3600, " 10\u00B031'00.00\""},  // seconds carry, no degree carry
        {'M', false, novalue, "  ***"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(1, c.fmt) + " " + std::to_string(c.v));
        TFormat f;
        f.coordformat = c.fmt;
        EXPECT_EQ(CoordText(f, c.lng, c.v), c.text);
    }
    EXPECT_EQ(std::string(" 51\u00B030.0000'").size(), 13u);  // 12 characters, the degree sign is 2 bytes
}

TEST(PictureMasks, RoundTiesAwayFromZero) {
    struct Case { double v; const char* mask; const char* text; };
    const Case cases[] = {
        {0.5, "00", "01"},
        {-0.5, "00", "-01"},
        {2.5, "000", "003"},
        {9.5, "0", "10"},
        {0.125, "00.00", "00.13"},
        {-0.125, "00.00", "-00.13"},
        {0.375, "0.00", "0.38"},
        {1.0000005, "0.000000", "1.000001"},  // just above the tie in binary
        {0.0000005, "0.000000", "0.000000"},  // just below the tie in binary
        {2.675, "0.00", "2.67"},              // just below the tie in binary
        {0.96875, "0.0000", "0.9688"},
        {-0.0000001, "00.000000", "00.000000"},  // rounds to zero: no minus sign
        {-0.004, "00.00", "00.00"},
        {-0.0, "000", "000"},
        {1234.5678, "00", "1235"},
        {45000.25, "####0.000000", "45000.250000"},
        {0.25, "####0.000000", "0.250000"},
        {1.5, "#.##", "1.5"},
        {0.0, "#.##", ""},
        {novalue, "00.00", "  ***"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " " + Fmt("%.17g", c.v));
        EXPECT_EQ(PictureText(TFormat{}, c.v, c.mask), c.text);
    }
}

TEST(TextUtilities, PadStripReplaceAndUnits) {
    EXPECT_EQ(PadLeft("12", 6), "    12");
    EXPECT_EQ(PadLeft("1234567", 6), "123456");
    EXPECT_EQ(PadLeft("123456", 6), "123456");
    EXPECT_EQ(PadLeft("", 3), "   ");
    struct Strip { const char* name; const char* stripped; };
    const Strip strips[] = {
        {"/logs/track.csv", "/logs/track"},
        {"/logs/v1.2/track", "/logs/v1.2/track"},
        {"C:\\logs.d\\track", "C:\\logs.d\\track"},
        {"track.verylongextension", "track.verylon"},
        {"a.b.nmea", "a.b"},
        {"noext", "noext"},
        {"", ""},
    };
    for (const auto& s : strips) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(StripExt(s.name), s.stripped);
    }
    EXPECT_EQ(ReplaceChar(',', ';', "a,b,,c"), "a;b;;c");
    EXPECT_EQ(MmsiText(2442), "000002442");
    EXPECT_EQ(MmsiText(1234567890), "1234567890");
    for (const std::int64_t id : {std::int64_t{0}, std::int64_t{-5}, std::int64_t{-1234567890}, INT64_MIN, INT64_MAX}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(MmsiText(id), Fmt("%9.9lld", static_cast<long long>(id)));
    }
    EXPECT_EQ(DistUnit('K'), "km");
    EXPECT_EQ(DistUnit('N'), "nm");
    EXPECT_EQ(DistUnit('M'), "m");
    EXPECT_EQ(SpeedUnit('K'), "k/h");
    EXPECT_EQ(SpeedUnit('N'), "knt");
    EXPECT_EQ(SpeedUnit('?'), "m/s");
    EXPECT_EQ(LatLonPair(TFormat{}, 51.5, -0.1275), "51.500000 -000.127500");
}

}  // namespace
}  // namespace brenvik
