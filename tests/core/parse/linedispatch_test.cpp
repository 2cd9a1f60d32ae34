// Line framing: comments, checksums, recorder prefixes, tag blocks and routing.
#include "parse/linedispatch.h"

#include <gtest/gtest.h>

#include "model/datetime.h"
#include "support/loadhelper.h"

namespace brenvik {
namespace {

using test::LineSession;
using test::WithChecksum;

TDateTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return *EncodeDate(y, mo, d) + *EncodeTime(h, mi, s, ms);
}

TEST(ChecksumOK, HexDigitsAfterTheStarWithOptionalMetadata) {
    // "GPHDT,10,T" exclusive-or is 0x1A.
    struct Case { const char* body; const char* checksum; bool ok; };
    const Case cases[] = {
        {"GPHDT,10,T", "1A", true},
        {"GPHDT,10,T", "1a", true},
        {"GPHDT,10,T", "01A", true},
        {"GPHDT,10,T", "1A,b003660465", true},  // receiver metadata after the digits
        {"GPHDT,10,T", "1B", false},
        {"GPHDT,10,T", "", false},
        {"GPHDT,10,T", "ZZ", false},
        {"GPHDT,10,T", "1A*1A", false},
        {"GPHDT,10,T", "1A,x*1", false},
        {"GPHDT,1\x7f", "2D", true},  // 127 is still printable here
        {"GPHDT,1\x80", "D2", false},
        {"GPHDT,1\t", "5B", false},
        {"GPHDT,10,T", "000000000000000000000000001A", true},
        {"GPHDT,10,T", "100000000000000000000000001A", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.body) + " * " + c.checksum);
        EXPECT_EQ(ChecksumOK(c.body, c.checksum), c.ok);
    }
}

TEST(ParseLine, ChecksumFailuresAreFiledAsCorrupt) {
    const std::string good = WithChecksum("$IIHDT,10,T");
    std::string bad = good;
    bad[7] = '2';  // "$IIHDT,20,T*..": one data character changed
    // A rejected sentence is counted among those read and the unprocessed ones, never handled.
    struct Case { std::string line; bool verify; bool dispatched; std::string record; };
    const Case cases[] = {
        {good, true, true, ""},
        {bad, true, false, "0000001|$IIHDT,20,T"},
        {bad, false, true, ""},
        {WithChecksum("$IIHDT,10,T") + ",b003660465", true, true, ""},
        {"$IIHDT,10,T*", true, false, "0000001|$IIHDT,10,T"},
        {"$IIHDT,10,T*ZZ", true, false, "0000001|$IIHDT,10,T"},
        {WithChecksum("$IIHDT,10,T") + "*12", true, false, "0000001|$IIHDT,10,T"},
        {"$IIHDT,10,T", true, true, ""},  // no "*": never verified
        {"  $IIHDT,10,T\r", true, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        LineSession ls([&](TSettings& st) { st.verifychecksum = c.verify; });
        ls.Feed({c.line});
        EXPECT_EQ(ls.s.totlines, 1);
        EXPECT_EQ(ls.s.unproclines, c.dispatched ? 0 : 1);
        EXPECT_EQ(ls.s.corruptcount, c.record.empty() ? 0 : 1);
        if (!c.record.empty()) {
            ASSERT_EQ(ls.s.corruptrecs.size(), 1u);
            EXPECT_EQ(ls.s.corruptrecs[0], c.record);
        }
        EXPECT_TRUE(ls.platform.messages.empty());
    }
}

TEST(ParseLine, RecorderPrefixes) {
    const TDateTime t = At(2012, 3, 15, 10, 11, 12);
    struct Case { const char* line; bool ignorevdr; TDateTime vdrdts; int dispatched; const char* message; };
    const Case cases[] = {
        {"2012/03/15 10:11:12,$IIHDT,10,T", false, t, 1, nullptr},
        {"2012-03-15,10:11:12,$IIHDT,10,T", false, t, 1, nullptr},
        {"[03/15/2012 10:11:12]$IIHDT,10,T", false, t, 1, nullptr},
        {"[03/15/2012 10:11:12.345] $IIHDT,10,T", false, At(2012, 3, 15, 10, 11, 12, 345), 1, nullptr},
        {"12/03/15 10:11:12,$IIHDT,10,T", false, t, 1, nullptr},
        {"2012/03/15 10:11:12,$IIHDT,10,T", true, 0, 1, nullptr},
        {"Voyage notes", false, 0, 0, "Format Error=line 1: Voyage notes"},
        {"Voyage notes", true, 0, 0, nullptr},
        // The date converts, the time does not: the date alone.
        {"2012-03-15,xx:11:12,extra,$IIHDT,10,T", false, *EncodeDate(2012, 3, 15), 1, "Format Error=extra,"},
        {"[13/45/2012 10:11:12]$IIHDT,10,T", false, 0, 1, "Error=13/45/2012 10:11:12"},
        {"[03/15/2012 10:11:12$IIHDT,10,T", false, 0, 1, "Error=line 1: [03/15/2012 10:11:12$IIHDT,10,T"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        LineSession ls([&](TSettings& st) { st.ignorevdr = c.ignorevdr; });
        ls.Feed({c.line});
        EXPECT_NEAR(ls.s.vdrdts, c.vdrdts, kSecond / 10000);
        EXPECT_EQ(ls.s.totlines, c.dispatched);
        if (c.message) {
            ASSERT_EQ(ls.platform.messages.size(), 1u);
            EXPECT_EQ(ls.platform.messages[0].text, c.message);
            EXPECT_EQ(ls.platform.messages[0].kind, MsgKind::Plain);
        } else {
            EXPECT_TRUE(ls.platform.messages.empty());
        }
    }
}

TEST(ParseLine, BracketedPrefixBeforeAnAisSentenceIsAllPrefix) {
    const std::string line = "[03/15/2012 10:11:12]" + WithChecksum("!AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0");
    LineSession verified;
    verified.Feed({line});
    EXPECT_EQ(verified.s.corruptcount, 1);
    EXPECT_EQ(verified.s.vdrdts, 0);
    LineSession unverified([](TSettings& st) { st.verifychecksum = false; });
    unverified.Feed({line});
    EXPECT_EQ(unverified.s.corruptcount, 0);
    EXPECT_NEAR(unverified.s.vdrdts, At(2012, 3, 15, 10, 11, 12), kSecond / 10000);
    EXPECT_EQ(unverified.s.totlines, 0);  // the AIS sentence is not decoded
}

TEST(ParseLine, CommentsAndTagBlocks) {
    const TDateTime c = 25569 + 1241544035.0 / 86400;
    const std::string ais = WithChecksum("!AIVDM,1,1,,B,15N4cJ`005Jrek0H@9n`DW5608EP,0");
    struct Case { std::string line; bool ignorevdr; TDateTime vdrdts; int totlines; };
    const Case cases[] = {
        {"# Name: a comment", false, 0, 0},
        {"-- separator", false, 0, 0},
        {"   # indented comment", false, 0, 0},
        {"\\s:r003669945,c:1241544035*4A\\" + ais, false, c, 1},
        {"\\c:1241544035123,s:x*4A\\" + ais, false, 25569 + 1241544035.123 / 86400, 1},
        {"\\s:r003669945,c:1241544035*4A\\" + ais, true, 0, 1},
        {"\\g:1-2-73874,n:157036,s:r003669945,c:12415440354*A\\" + WithChecksum("$IIHDT,10,T"), false,
         25569 + 12415440354.0 / 86400, 1},
        {"\\c:nonsense*00\\$IIHDT,10,T", false, 0, 1},
    };
    for (const auto& cs : cases) {
        SCOPED_TRACE(cs.line);
        LineSession ls([&](TSettings& st) { st.ignorevdr = cs.ignorevdr; });
        ls.Feed({cs.line});
        EXPECT_NEAR(ls.s.vdrdts, cs.vdrdts, kSecond / 100);
        EXPECT_EQ(ls.s.totlines, cs.totlines);
        EXPECT_EQ(ls.s.corruptcount, 0);
        EXPECT_TRUE(ls.platform.messages.empty());
    }
}

// A tag block that is never closed hides the whole line: it is filed, not dropped unseen.
TEST(ParseLine, UnclosedTagBlockIsCorrupt) {
    for (const bool ignorevdr : {false, true}) {
        LineSession ls([&](TSettings& st) { st.ignorevdr = ignorevdr; });
        ls.Feed({"  \\c:1241544035 without an end $IIHDT,10,T\r", "\\"});
        EXPECT_EQ(ls.s.totlines, 2);
        EXPECT_EQ(ls.s.unproclines, 2);
        EXPECT_EQ(ls.s.vdrdts, 0);
        EXPECT_EQ(ls.s.corruptcount, 2);
        EXPECT_EQ(ls.s.corruptrecs,
                  (std::vector<std::string>{"0000001|\\c:1241544035 without an end $IIHDT,10,T", "0000002|\\"}));
    }
}

TEST(DispatchNMEA, RoutesByTalkerAndIdentifier) {
    struct Case { const char* line; bool processed; };
    const Case cases[] = {
        {"$IIHDT,10,T", true},          {"$GPHDT,10,T", true},
        {"$GPRMC,123519,V,,,,,,,230394,,", true},
        {"$IIRMC,123519,V,,,,,,,230394,,", true}, {"$GNRMC,123519,V,,,,,,,230394,,", true},
        {"$GPGSV,3,1,11,03,03,111,00", false},      {"$GPGGA,123519,,,,,0,,,,M", true},
        // Position and time sentences come from every satellite-navigation talker, and from the
        // instrument systems (II, EC) that pass fixes on.
        {"$GLGGA,123519,,,,,0,,,,M", true}, {"$GAGLL,,,,,123519,V", true}, {"$GBGSA,A,1", true},
        {"$BDRMC,123519,V", true},          {"$GQVTG,,,,,,,,", true},      {"$GIZDA,,,,,,", true},
        {"$INRMC,123519,V", true},          {"$GNGSV,3,1,11", false},      {"$GNTXT,01,01,02,x", false},
        {"$GNHDT,10,T", true},              {"$ECGLL,,,,,123519,V", true},  {"$GSRMC,123519,V", false},
        {"$IIGGA,123519,,,,,0,,,,M", true}, {"$ECZDA,,,,,,", true},      {"$IIHDG,,,,,", true},
        {"$APHDM,,M", true},
        {"$BWALR,,1,V,A,x", true},       {"$AIALR,,1,V,A,x", true},       {"$IIALR,,1,V,A,x", false},
        {"$PFEC,GPatt,1", true},         {"$PFECGPatt,1", false},         {"$PGRMZ,93,f,3", false},
        {"$SDDBT,1,f,0.3,M,0.2,F", true}, {"$SDDBS,1,f,0.3,M,0.2,F", true}, {"$SDDBK,1,f,0.3,M,0.2,F", true},
        {"$SDDPT,1.0,0.5", true},         {"$WIMWV,045,R,10,N,A", true},    {"$HEROT,1.5,A", true},
        {"$IIRSA,1,A,,V", true},          {"$VWVBW,1,2,A", true},           {"$IIVHW,,T,,M,1,N,2,K", true},
        {"$IIVLW,1,N,2,N", true},         {"$IIMLS,1", true},               {"$IIhdt,10,T", false},
        {"$", false},                     {"$,1,2", false},                 {"$II", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        LineSession ls;
        ls.Feed({c.line});
        EXPECT_EQ(ls.s.totlines, 1);
        EXPECT_EQ(ls.s.unproclines, c.processed ? 0 : 1);
        EXPECT_EQ(ls.s.corruptcount, 0);
    }
}

TEST(DispatchNMEA, LasttagIsFieldZero) {
    LineSession ls;
    ls.Feed({"$IIHDT,10,T", "$GPGSV,3,1,11"});
    EXPECT_EQ(ls.s.curevent.lasttag, "$GPGSV");
}

// A sentence its handler cannot read is a corrupt line, not the end of the load.
TEST(DispatchNMEA, UnreadableSentencesAreCorruptLines) {
    struct Case { std::string line; std::string record; };
    const Case cases[] = {
        {"$02MWV,327.6,R,1.89,N", "0000001|$02MWV,327.6,R,1.89,N"},
        {WithChecksum("$WIMWV,327.6,R,1.89,N"), "0000001|$WIMWV,327.6,R,1.89,N"},
        {"$IIHDT,abc,T", "0000001|$IIHDT,abc,T"},
        {"$IIHDT,1" + std::string(400, '0') + ",T", "0000001|$IIHDT,1" + std::string(400, '0') + ",T"},
        {"$GPZDA,123519,15,03,2012,99999999", "0000001|$GPZDA,123519,15,03,2012,99999999"},
        {"$GPGLL,4916.45,N,12311.12,W", "0000001|$GPGLL,4916.45,N,12311.12,W"},
        {"$IIMLS", "0000001|$IIMLS"},
        {"$BWALR,101112,x,A,V,text", "0000001|$BWALR,101112,x,A,V,text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        LineSession ls;
        ls.Feed({c.line});
        EXPECT_EQ(ls.s.totlines, 1);
        EXPECT_EQ(ls.s.unproclines, 1);
        EXPECT_EQ(ls.s.corruptcount, 1);
        ASSERT_EQ(ls.s.corruptrecs.size(), 1u);
        EXPECT_EQ(ls.s.corruptrecs[0], c.record);
    }
}

}  // namespace
}  // namespace brenvik

namespace brenvik {
namespace {

// The checksum is computed several characters at a time; every length and every position of
// a character outside 32..127 must still be found.
TEST(ChecksumOKWide, AgreesWithACharacterByCharacterXor) {
    const std::string base = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    for (std::size_t len = 0; len <= base.size(); ++len) {
        const std::string body = base.substr(0, len);
        unsigned x = 0;
        for (char c : body) x ^= static_cast<unsigned char>(c);
        SCOPED_TRACE(len);
        EXPECT_TRUE(ChecksumOK(body, Fmt("%02X", x)));
        EXPECT_FALSE(ChecksumOK(body, Fmt("%02X", x ^ 1u)));
        for (std::size_t pos = 0; pos < len; ++pos)
            for (char badc : {'\x1f', '\x80', '\xff', '\0'}) {
                std::string b = body;
                const unsigned y = x ^ static_cast<unsigned char>(b[pos]) ^ static_cast<unsigned char>(badc);
                b[pos] = badc;
                EXPECT_FALSE(ChecksumOK(b, Fmt("%02X", y))) << pos;
            }
    }
    EXPECT_TRUE(ChecksumOK(" \x7f", Fmt("%02X", 0x20u ^ 0x7fu)));  // 32 and 127 are allowed
}

}  // namespace
}  // namespace brenvik
