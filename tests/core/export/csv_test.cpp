#include <gtest/gtest.h>

#include "core/export/writerfixture.h"
#include "export/csvwriter.h"
#include "export/textfile.h"
#include "helptopics.h"

namespace brenvik {
namespace {

using test::CrLfLines;
using test::EmptyEvent;
using test::FullEvent;
using test::ReadCsv;

class CsvTest : public test::WriterTest {
protected:
    void Write(int first, int last) {
        EXPECT_TRUE(WriteCSV(s, dir / "out.csv", s.fields.shownfields, {first, last}));
    }
    void WriteAll() { Write(0, s.events.count() - 1); }

    // What the grid shows for an event, as the file carries it (UTF-8).
    std::vector<std::string> GridCells(std::int32_t ix) const {
        std::vector<std::string> cells;
        const TFormat f = s.Format();
        for (int fld : s.fields.shownfields)
            cells.push_back(ToUtf8(eventfields[static_cast<std::size_t>(fld)].asstring(s.events[ix], f)));
        return cells;
    }
    void ExpectReadsBackAsGrid() {
        const auto rows = ReadCsv(File("out.csv"));
        ASSERT_TRUE(rows.has_value()) << "not RFC 4180 CSV";
        ASSERT_EQ(rows->size(), static_cast<std::size_t>(s.events.count()) + 1);
        std::vector<std::string> heads{""};
        for (std::size_t k = 1; k < s.fields.shownfields.size(); ++k)
            heads.push_back(s.fields.fields[static_cast<std::size_t>(s.fields.shownfields[k])].head);
        EXPECT_EQ((*rows)[0], heads);
        for (std::int32_t ix = 0; ix < s.events.count(); ++ix) {
            SCOPED_TRACE(ix);
            EXPECT_EQ((*rows)[static_cast<std::size_t>(ix) + 1], GridCells(ix));
        }
    }
};

TEST_F(CsvTest, GoldenFileWithDefaultColumns) {
    s.events.Add(FullEvent());
    s.events.Add(EmptyEvent());
    WriteAll();
    const std::vector<std::string> expected = {
        ",VDRDate,VDRTime,Offset,Date,Time,Latitude,Longitude,Speed,WindSpd,WaterSpd,R of Turn,Proprietary,"
        "LonglWSpd,TransWSpd,V M G,Ant.Altitude,Alarms,HDOP,S.Rudder,P.Rudder",
        "      12,01-06-2018,11:59:50,    10,01-06-2018,12:00:00,51.500000,-000.127500,  5.00,  7.50,  2.50, -3.25,"
        "\"$PFEC,GPatt,1.0\",  1.50, -0.50,  4.00, 12.50,\"$BWALR,a\",  1.2,    5.00,   -5.00",
        " 1234567,  ***,  ***,     0,  ***,  ***,  ***,  ***,  ***,  ***,  ***,  ***,\"\",  ***,  ***,  ***,  ***,"
        "\"\",  ***,  ***,  ***",
    };
    EXPECT_EQ(CrLfLines(File("out.csv")), expected);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, "2 events with 20 data fields successfully written to CSV file.");
    EXPECT_EQ(p.messages[0].kind, MsgKind::Information);
    EXPECT_EQ(p.messages[0].helpcontext, help::WriteCSV);
    ExpectReadsBackAsGrid();
}

TEST_F(CsvTest, HostileTextsReadBackIntoTheGridCells) {
    const std::string texts[] = {
        "$PFEC,GPatt,\"quoted\",<b>&amp;</b>",
        "\"",
        "a,\"\",b",
        "Latin-1 degree \xB0 and UTF-8 degree \xC2\xB0",
        "\"Fire, deck 2\"|$BWALR,\"x\"",
        "",
        "ends with quote\"",
    };
    for (const std::string& t : texts) {
        TEvent e = FullEvent();
        e.proprietary = t;
        e.bwalarm = "3:" + t;
        s.events.Add(std::move(e));
    }
    WriteAll();
    ExpectReadsBackAsGrid();
    // Inner double quotes are doubled inside the enclosing ones.
    const auto lines = CrLfLines(File("out.csv"));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_NE(lines[2].find(",\"\"\"\","), std::string::npos);
}

TEST_F(CsvTest, RangesAndColumnChoices) {
    for (int i = 0; i < 12; ++i) {
        TEvent e = FullEvent();
        e.recnumb = 100 + i;
        s.events.Add(std::move(e));
    }
    {
        SCOPED_TRACE("marked rows 5 to 9 are events 4 to 8");
        Write(4, 8);
        const auto lines = CrLfLines(File("out.csv"));
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(lines[1].substr(0, 9), "     104,");
        EXPECT_EQ(lines[5].substr(0, 9), "     108,");
        EXPECT_EQ(p.Texts().back(), "5 events with 20 data fields successfully written to CSV file.");
    }
    {
        SCOPED_TRACE("a range reaching past the events is cut to them");
        Write(-3, 40);
        EXPECT_EQ(CrLfLines(File("out.csv")).size(), 13u);
        EXPECT_EQ(p.Texts().back(), "12 events with 20 data fields successfully written to CSV file.");
    }
    {
        SCOPED_TRACE("first after last: heading only");
        Write(9, 4);
        EXPECT_EQ(CrLfLines(File("out.csv")).size(), 1u);
        EXPECT_EQ(p.Texts().back(), "0 events with 20 data fields successfully written to CSV file.");
    }
    {
        SCOPED_TRACE("only Source#: empty heading line, line numbers");
        const std::vector<int> only{0};
        WriteCSV(s, dir / "out.csv", only, {0, 1});
        EXPECT_EQ(File("out.csv"), "\r\n     100\r\n     101\r\n");
        EXPECT_EQ(p.Texts().back(), "2 events with 0 data fields successfully written to CSV file.");
    }
    {
        SCOPED_TRACE("bad field numbers give empty cells");
        const std::vector<int> fields{5, 99, -1};
        WriteCSV(s, dir / "out.csv", fields, {0, 0});
        EXPECT_EQ(File("out.csv"), ",,\r\n12:00:00,,\r\n");
    }
}

TEST_F(CsvTest, NoEventsWritesTheHeadingOnly) {
    WriteAll();
    EXPECT_EQ(CrLfLines(File("out.csv")).size(), 1u);
    EXPECT_EQ(p.Texts(), std::vector<std::string>{"0 events with 20 data fields successfully written to CSV file."});
}

TEST_F(CsvTest, FormatsHeadingsAndLocaleReachTheFile) {
    s.events.Add(FullEvent());
    s.settings.coordformat = 'M';
    s.settings.parms.hunits = 'N';
    s.fields.fields[fSpeed].head = "Speed, knots";
    s.fields.fields[fTime].head = "Time \"UTC\"";
    p.decsep = ',';
    WriteAll();
    const auto lines = CrLfLines(File("out.csv"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].find(",VDRDate,VDRTime,Offset,Date,\"Time \"\"UTC\"\"\",Latitude,"), 0u);
    EXPECT_NE(lines[0].find(",\"Speed, knots\",WindSpd,"), std::string::npos);
    // Degs Mins with the degree sign in UTF-8; a comma decimal separator keeps the cell whole.
    EXPECT_NE(lines[1].find(",\" 51\xC2\xB0" "30,0000'\",\"-000\xC2\xB0" "07,6500'\",\"  9,72\","),
              std::string::npos);
    ExpectReadsBackAsGrid();
}

TEST_F(CsvTest, FailuresAreReportedAndNeverAsSuccess) {
    s.events.Add(FullEvent());
    const std::string paths[] = {dir / "no/such/folder/out.csv", dir.path().string(), "/dev/full"};
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        p.messages.clear();
        EXPECT_FALSE(WriteCSV(s, path, s.fields.shownfields, {0, 0}));
        ASSERT_EQ(p.messages.size(), 1u);
        EXPECT_EQ(p.messages[0].text, "Unable to write to CSV file.");
        EXPECT_EQ(p.messages[0].kind, MsgKind::Error);
    }
}

TEST_F(CsvTest, FullDiskWhileWritingManyLines) {
    for (int i = 0; i < 3000; ++i) s.events.Add(FullEvent());
    EXPECT_FALSE(WriteCSV(s, "/dev/full", s.fields.shownfields, {0, 2999}));
    EXPECT_EQ(p.Texts(), std::vector<std::string>{"Unable to write to CSV file."});
}

TEST_F(CsvTest, LinesOnAnOpenStream) {
    s.events.Add(FullEvent());
    const std::string path = dir / "stream.csv";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    TTextOut out(f);
    EXPECT_EQ(WriteCSVLines(s, out, s.fields.shownfields, {0, 0}), 1);
    EXPECT_TRUE(out.Close());
    std::fclose(f);
    WriteAll();
    EXPECT_EQ(File("stream.csv"), File("out.csv"));
    EXPECT_EQ(p.messages.size(), 1u);  // only the file writer speaks
}

}  // namespace
}  // namespace brenvik
