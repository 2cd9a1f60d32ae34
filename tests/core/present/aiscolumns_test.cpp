// AIS vocabularies and the AIS grid's column catalogue.
#include "present/aiscolumns.h"

#include <gtest/gtest.h>

#include "model/datetime.h"
#include "present/valuetext.h"

namespace brenvik {
namespace {

TEST(AisGrid, Vocabularies) {
    struct Case {
        int code;
        const char* name;
    };
    // Groups by tens digit; codes from 100 fall in the last row by their units digit.
    const Case shiptypes[] = {{7, "Reserved"},         {24, "Wing In Ground (cat D)"}, {36, "Sailing"},
                              {38, "Reserved"},        {49, "Hi Speed Craft"},         {56, "Local Vessel"},
                              {57, "Local Vessel"},    {70, "Cargo"},                  {99, "Other"},
                              {105, "Reserved"},       {249, "Other"},                 {255, "Reserved"}};
    for (const Case& c : shiptypes) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ShipTypeName(static_cast<std::uint8_t>(c.code)), c.name);
    }
    EXPECT_EQ(NavStatusName(7), "Fishing");
    EXPECT_EQ(NavStatusName(12), "");
    EXPECT_EQ(NavStatusName(15), "Not defined");
    EXPECT_EQ(NavStatusName(16), "");
    EXPECT_EQ(NavStatusName(-1), "");
    EXPECT_EQ(MsgTypeName(27), "Pos.Rpt.Lng.Rng.");
    EXPECT_EQ(MsgTypeName(0), "unknown");
    EXPECT_EQ(MsgTypeName(28), "unknown");
}

std::vector<std::string> Cells(const TaisEvent& e, const TFormat& f) {
    std::vector<std::string> cells;
    for (const auto& c : aisfields) cells.push_back(c.asstring(e, f));
    return cells;
}

TEST(AisGrid, CellsOfTypicalReports) {
    TFormat f;
    TaisEvent pos;
    pos.srcnumb = 123;
    pos.msgtype = 1;
    pos.id = 2320061;
    pos.status = 7;
    pos.utcsecs = 37;
    pos.coord = {-33.9, -4.5};
    pos.sog = 5.144444;
    pos.cog = 90.0;
    pos.heading = 511;  // a value that reached the report: shown with whole turns removed
    pos.rot = -12;
    pos.messg = "x";
    EXPECT_EQ(Cells(pos, f), (std::vector<std::string>{"     123", "Pos.Rpt.", "002320061", "Fishing", "",
                                                        "00:00:37", "-33.900000", "-004.500000", "  5.14",
                                                        "   90.00", "  151.00", "-12.00", "x"}));
    f.rotations = true;
    f.parms.hunits = 'N';
    EXPECT_EQ(aisfields[10].asstring(pos, f), "  511.00");
    EXPECT_EQ(aisfields[8].asstring(pos, f), " 10.00");
    f.parms.hunits = 'K';
    EXPECT_EQ(aisfields[8].asstring(pos, f), " 18.52");
    EXPECT_EQ(aisfields[9].asstring(pos, f), "   90.00");
    pos.srcnumb = 1234567890;
    EXPECT_EQ(aisfields[0].asstring(pos, f), "12345678");

    TaisEvent stat;
    stat.msgtype = 5;
    stat.status = 7;
    EXPECT_EQ(aisfields[3].asstring(stat, f), "Reserved");
    stat.status = 70;
    EXPECT_EQ(aisfields[3].asstring(stat, f), "Cargo");

    TaisEvent base;
    base.msgtype = 4;
    base.utcdate = static_cast<std::int32_t>(*EncodeDate(2007, 5, 14));
    base.utcsecs = 19 * 3600 + 57 * 60 + 39;
    EXPECT_EQ(aisfields[4].asstring(base, f), "14-05-2007");
    EXPECT_EQ(aisfields[5].asstring(base, f), "19:57:39");
}

TEST(AisGrid, UnprocessedReportShowsMarksAndEmptyTimes) {
    TaisEvent e;
    e.msgtype = 18;
    e.utcdate = -1;
    e.utcsecs = -1;
    const TFormat f;
    const std::vector<std::string> cells = Cells(e, f);
    EXPECT_EQ(cells[3], "");  // status 16
    EXPECT_EQ(cells[4], "");
    EXPECT_EQ(cells[5], "");
    for (std::size_t c = 6; c <= 11; ++c) EXPECT_EQ(cells[c], invalidmark) << c;
    for (std::size_t c = 0; c < aisfields.size(); ++c) EXPECT_NE(aisfields[c].asvalue, nullptr);
    EXPECT_EQ(aisfields[12].asvalue(e), 0.0);
    EXPECT_EQ(aisfields[6].asvalue(e), novalue);
}

// A position report's time stamp 60 means not available, 61 to 63 manual, dead reckoning and
// inoperative: no time, in the grid and in the position CSV. Base stations send the second of
// the day, which may well be 60 or more.
TEST(AisGrid, TimeStampsOf60To63ShowNoTime) {
    struct Case { int msgtype, utcsecs; const char* time; };
    const Case cases[] = {{1, 59, "00:00:59"}, {1, 60, ""}, {2, 61, ""}, {3, 63, ""}, {18, 60, ""},
                          {4, 60, "00:01:00"}, {11, 3600, "01:00:00"}, {1, -1, ""}};
    const TFormat f;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.msgtype << " " << c.utcsecs);
        TaisEvent e;
        e.msgtype = c.msgtype;
        e.utcsecs = c.utcsecs;
        EXPECT_EQ(Cells(e, f)[5], c.time);
        EXPECT_EQ(AisTimeKnown(e), *c.time != 0);
    }
}

}  // namespace
}  // namespace brenvik
