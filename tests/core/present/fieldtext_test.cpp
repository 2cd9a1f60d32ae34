#include "present/fieldtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "model/datetime.h"
#include "model/strutil.h"
#include "present/valuetext.h"
#include "session.h"
#include "support/fakeplatform.h"

namespace brenvik {
namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return *EncodeDate(y, mo, d) + *EncodeTime(h, mi, s, 0);
}

TEvents OneEvent(const TEvent& e) {
    TEvents list;
    TEvent copy = e;
    list.Add(std::move(copy));
    return list;
}

TEvent AllNovalue() {
    TEvent e;
    for (double* v : {&e.coord.lat, &e.coord.lng, &e.dts, &e.vdrdts, &e.speed, &e.heading, &e.depth,
                      &e.hdop, &e.windspeed, &e.waterspeed, &e.longlspd, &e.rudders, &e.rudderp,
                      &e.transspd, &e.vmg, &e.rot, &e.antalt})
        *v = novalue;
    return e;
}

TEST(FieldText, EventWithoutDataShowsTheInvalidMark) {
    const TEvents list = OneEvent(AllNovalue());
    const TFormat f;
    for (int field = 0; field < kEventFieldCount; ++field) {
        SCOPED_TRACE(field);
        const std::string text = CellText(list, field, 0, f);
        const double value = CellValue(list, field, 0);
        if (field == fSource) {
            EXPECT_EQ(text, "       0");
        } else if (field == fOffset) {
            EXPECT_EQ(text, "     0");  // novalue less novalue
        } else if (field == fProprietary || field == fAlarms) {
            EXPECT_EQ(text, "");
        } else {
            EXPECT_EQ(text, invalidmark);
        }
        if (field == fSource || field == fOffset || field == fProprietary) {
            EXPECT_EQ(value, 0);
        } else {
            EXPECT_EQ(value, novalue);
        }
    }
}

TEST(FieldText, CellsOfOneEvent) {
    TEvent e;
    e.recnumb = 1234567;
    e.vdrdts = At(2024, 5, 1, 0, 0, 10);
    e.dts = At(2024, 5, 1, 23, 59, 50);
    e.coord = {51.5, -0.1275};
    e.depth = 10;
    e.speed = 1;
    e.heading = -10;
    e.hdop = 1.25;
    e.rot = -3;
    e.rudders = 5;
    e.rudderp = -5.5;
    e.antalt = 3.048;
    e.proprietary = "$PFEC,GPatt,a,b";
    e.bwalarm = "2:BWALR,120000,001,A,V,BILGE|BWALR,120001,002,V,A,OK";
    const TEvents list = OneEvent(e);
    TFormat f;
    f.parms = {'N', 'F'};
    struct Case { int field; std::string text; double value; };
    const Case cases[] = {
        {fSource, " 1234567", 1234567},
        {fVDRDate, "01-05-2024", e.vdrdts},
        {fVDRTime, "00:00:10", e.vdrdts},
        {fOffset, "   -20", e.dts - e.vdrdts - 1},
        {fDate, "01-05-2024", e.dts},
        {fTime, "23:59:50", e.dts},
        {fLatitude, "51.500000", 51.5},
        {fLongitude, "-000.127500", -0.1275},
        {fDepth, " 32.81", 10},
        {fSpeed, "  1.94", 1},
        {fHeading, "  350.00", -10},
        {fWindSpd, "  ***", novalue},
        {fRofTurn, " -3.00", -3},
        {fProprietary, "$PFEC,GPatt,a,b", 0},
        {fAntAltitude, " 10.00", 3.048},
        {fAlarms, "BWALR,120000,001,A,V,BILGE|BWALR,120001,002,V,A,OK", 2},
        {fHDOP, "  1.2", 1.25},
        {fSRudder, "    5.00", 5},
        {fPRudder, "   -5.50", -5.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(CellText(list, c.field, 0, f), c.text);
        EXPECT_DOUBLE_EQ(CellValue(list, c.field, 0), c.value);
    }
    // The Offset when the recorder time falls on the next date is the same -20 s.
    TEvent next = e;
    next.vdrdts += 1;
    const TEvents later = OneEvent(next);
    EXPECT_EQ(CellText(later, fOffset, 0, f), "   -20");
    EXPECT_NEAR(CellValue(later, fOffset, 0), -20.0 / 86400, 1e-9);
}

TEST(FieldText, AlarmsWithoutColonAndBadStage) {
    TEvent e;
    e.bwalarm = "3";
    EXPECT_EQ(AlarmsCell(e, TFormat{}), "3");
    EXPECT_EQ(AlarmsValue(e), 3);
    e.bwalarm = "x:text";
    EXPECT_THROW(AlarmsValue(e), ConvertError);
    e.bwalarm = "";
    EXPECT_EQ(AlarmsValue(e), novalue);
}

TEST(FieldText, OutOfRangeFieldOrIndex) {
    const TEvents list = OneEvent(TEvent{});
    EXPECT_THROW(CellText(list, 0, 1, TFormat{}), std::out_of_range);
    EXPECT_THROW(CellText(list, 0, -1, TFormat{}), std::out_of_range);
    EXPECT_THROW(CellText(list, 23, 0, TFormat{}), std::out_of_range);
    EXPECT_THROW(CellValue(list, -1, 0), std::out_of_range);
    EXPECT_EQ(RangeText(23, 0, TFormat{}), "");
    TFieldCatalogue cat;
    GatherRange(cat, 99, list);  // ignored
    EXPECT_EQ(GridHeadText(cat, -1), "");
}

TEST(FieldRanges, NoEventsGiveTheInvalidMark) {
    TFieldCatalogue cat;
    const TEvents none;
    const TFormat f;
    for (int field = 0; field < kEventFieldCount; ++field) {
        SCOPED_TRACE(field);
        GatherRange(cat, field, none);
        const Trange& r = cat.fields[static_cast<std::size_t>(field)].range;
        EXPECT_EQ(r.max, -1e25);
        EXPECT_EQ(r.min, 1e25);
        const char* expected = field == fSource ? "" : "  ***";
        EXPECT_EQ(RangeText(field, r.min, f), expected);
        EXPECT_EQ(RangeText(field, r.max, f), expected);
    }
}

TEST(FieldRanges, AcceptanceAndUnits) {
    TEvents list;
    auto add = [&list](double depth, double speed, TDateTime dts, TDateTime vdrdts, const char* alarm) {
        TEvent e;
        e.depth = depth;
        e.speed = speed;
        e.dts = dts;
        e.vdrdts = vdrdts;
        e.bwalarm = alarm;
        list.Add(std::move(e));
    };
    const TDateTime t = At(2024, 5, 1, 12, 0, 0);
    add(12, 10, t, t - 30.0 / 86400, "1:A");
    add(novalue, 0, 0, t, "");          // no depth, no date: the date range takes day 0
    add(3, -2, t + 1, t + 1 + 10.0 / 86400, "2:B|C");  // speed negative counts
    add(novalue, novalue, t, novalue, "");
    TFieldCatalogue cat;
    for (int field : {fDepth, fSpeed, fDate, fOffset, fAlarms, fProprietary, fSource}) GatherRange(cat, field, list);
    auto range = [&cat](int field) { return cat.fields[static_cast<std::size_t>(field)].range; };
    EXPECT_EQ(range(fDepth).min, 3);
    EXPECT_EQ(range(fDepth).max, 12);
    EXPECT_EQ(range(fSpeed).min, -2);
    EXPECT_EQ(range(fSpeed).max, 10);
    EXPECT_EQ(range(fDate).min, 0);
    EXPECT_EQ(range(fDate).max, t + 1);
    EXPECT_EQ(range(fAlarms).min, 1);
    EXPECT_EQ(range(fAlarms).max, 2);
    EXPECT_EQ(range(fProprietary).max, -1e25);
    EXPECT_EQ(range(fSource).min, 1e25);
    // Offsets: 30 s, half a day (-45413.5 rounds to the even -45414), -10 s, and 0 for the
    // novalue recorder time (a difference of -1e25 has no fraction).
    EXPECT_NEAR(range(fOffset).max, 0.5, 1e-9);
    EXPECT_NEAR(range(fOffset).min, -10.0 / 86400, 1e-9);
    EXPECT_TRUE(AcceptOffset(0.999));
    EXPECT_FALSE(AcceptOffset(1));
    EXPECT_FALSE(AcceptOffset(-1));
    EXPECT_FALSE(AcceptOffset(std::nan("")));

    TFormat f;
    f.parms = {'K', 'F'};
    struct Case { int field; double v; const char* text; };
    const Case cases[] = {
        {fSpeed, 10, " 36.00"}, {fDepth, 3.048, " 10.00"}, {fAntAltitude, 3.048, " 10.00"},
        {fDate, 0, "30-12-1899"}, {fTime, 0, "00:00:00"}, {fDate, 1e24, "  ***"},
        {fDate, -2e24, "  ***"}, {fAlarms, 2, "STAGE 2"}, {fAlarms, novalue, "  ***"},
        {fLatitude, 90, "90.000000"}, {fLatitude, 90.5, "  ***"}, {fLongitude, -180, "-180.000000"},
        {fLongitude, -181, "  ***"}, {fOffset, -0.5, "-43200"}, {fProprietary, 0, "  ***"},
        {fHeading, 725, "    5.00"}, {fHDOP, 1.5, "  1.5"}, {fRofTurn, 1, "  1.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + std::to_string(c.v));
        EXPECT_EQ(RangeText(c.field, c.v, f), c.text);
    }
}

TEST(FieldRanges, GatherRangesTakesShownFieldsAfterTheFirstColumn) {
    test::FakePlatform p;
    Session s(p);
    TEvent e;
    e.recnumb = 5;
    e.depth = 4;
    e.speed = 2;
    e.vdrdts = 100;
    e.dts = 5;
    s.events.Add(std::move(e));
    s.settings.ignorevdr = true;
    s.fields.fields[fDepth].vis = false;
    s.fields.fieldorder = {9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
    s.fields.fields[fTime].mmvalid = true;
    GatherRanges(s);
    auto range = [&s](int field) { return s.fields.fields[static_cast<std::size_t>(field)].range; };
    EXPECT_EQ(s.fields.shownfields.front(), fSpeed);
    EXPECT_EQ(range(fSpeed).max, 0);      // first column: left alone
    EXPECT_EQ(range(fDepth).max, 0);      // hidden
    EXPECT_EQ(range(fVDRDate).max, 0);    // VDR fields ignored
    EXPECT_EQ(range(fTime).max, 0);       // range still current
    EXPECT_EQ(range(fSource).max, -1e25);  // shown, accepts nothing
    EXPECT_EQ(range(fDate).max, 5);       // gathered
    EXPECT_EQ(range(fDate).min, 5);
    EXPECT_EQ(range(fWindSpd).min, 1e25);
}

TEST(FieldWidths, HeadingRowAndCellTexts) {
    test::FakePlatform p;  // 6 pixels per character
    Session s(p);
    TEvent e;
    e.proprietary = std::string(40, 'x');
    e.dts = At(2024, 5, 1, 12, 0, 0);
    s.events.Add(std::move(e));
    struct Case { int field; const char* head; int wdth; };
    const Case cases[] = {
        {fVDRDate, "VDRDate.Time", 12 * 6 + 13},  // heading wider than "30-12-1899"
        {fVDRTime, "VDRSecs", 8 * 6 + 13},        // "00:00:00"
        {fDate, "Date.Time", 10 * 6 + 13},
        {fTime, "Seconds", 8 * 6 + 13},
        {fProprietary, "Proprietary", 40 * 6 + 13},
        {fSpeed, "Speed", 5 * 6 + 13},  // as wide as "  ***"
        {fHDOP, "HDOP", 5 * 6 + 13},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(GridHeadText(s.fields, c.field), c.head);
        FitWidth(s, c.field);
        EXPECT_EQ(s.fields.fields[static_cast<std::size_t>(c.field)].wdth, c.wdth);
    }
    // An edited heading is what the grid shows; the measure starts at 10 pixels.
    s.fields.fields[fAlarms].head = "";
    EXPECT_EQ(GridHeadText(s.fields, fAlarms), "");
    FitWidth(s, fAlarms);
    EXPECT_EQ(s.fields.fields[fAlarms].wdth, 23);
    s.fields.fields[fSpeed].head = "Speed over ground";
    FitWidth(s, fSpeed);
    EXPECT_EQ(s.fields.fields[fSpeed].wdth, 17 * 6 + 13);
}

}  // namespace
}  // namespace brenvik
