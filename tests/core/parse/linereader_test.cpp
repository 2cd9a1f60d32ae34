#include "parse/linereader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tempdir.h"

namespace brenvik {
namespace {

std::vector<std::string> ReadAll(const std::string& content) {
    const test::TempDir dir;
    TLineReader r;
    EXPECT_TRUE(r.Open(dir.Write("log.txt", content)));
    std::vector<std::string> lines;
    std::string_view l;
    while (r.Next(l)) {
        lines.emplace_back(l);
        EXPECT_EQ(r.lineno(), static_cast<std::int32_t>(lines.size()));
    }
    EXPECT_FALSE(r.failed());
    return lines;
}

std::string Utf16(std::u16string_view text, bool le) {
    std::string out = le ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : text) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out += le ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

using Lines = std::vector<std::string>;

TEST(TLineReader, LineEndsAndEncodings) {
    struct Case { const char* name; std::string content; Lines lines; };
    const Case cases[] = {
        {"LF, CR LF, lone CR", "a\nb\r\nc\rd", {"a", "b", "c", "d"}},
        {"empty lines of each kind", "\r\r\n\n\n\r", {"", "", "", "", ""}},
        {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
        {"UTF-8 byte-order mark skipped", "\xEF\xBB\xBFHeader\n$x", {"Header", "$x"}},
        {"byte-order mark only", "\xEF\xBB\xBF", {}},
        {"UTF-8 mark elsewhere kept", "a\xEF\xBB\xBF\n", {"a\xEF\xBB\xBF"}},
        {"UTF-16 LE", Utf16(u"$A,1\r\n$B,\u00e9\r$C", true), {"$A,1", "$B,\xC3\xA9", "$C"}},
        {"UTF-16 BE", Utf16(u"$A\n\u20ac\n", false), {"$A", "\xE2\x82\xAC"}},
        {"UTF-16 surrogates", Utf16(u"\U0001F600|\xD800|\xDC00", true),
         {"\xF0\x9F\x98\x80|\xEF\xBF\xBD|\xEF\xBF\xBD"}},
        {"UTF-16 odd last byte dropped", Utf16(u"ab", true) + "c", {"ab"}},
        {"UTF-16 mark only", "\xFF\xFE", {}},
        {"NUL bytes kept in 8-bit text", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadAll(c.content), c.lines);
    }
}

TEST(TLineReader, OverLongLinesAreCut) {
    const std::size_t max = TLineReader::maxline;
    const std::string x(max, 'x');
    struct Case { const char* name; std::string content; Lines lines; };
    const Case cases[] = {
        {"exactly the limit", x + "\nnext", {x, "next"}},
        {"over the limit, LF", x + "yyy\nnext\n", {x, "next"}},
        {"over the limit, CR LF", x + "y\r\nnext", {x, "next"}},
        {"three times the limit, no line end", x + x + x + "z", {x}},
        {"over the limit then a short line", "a\n" + x + std::string(max + 7, 'y') + "\rb\n", {"a", x, "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadAll(c.content), c.lines);
    }
}

// Line ends and UTF-16 characters falling across the reader's blocks.
TEST(TLineReader, BlockBoundaries) {
    // 100-byte lines, then a CR as the last byte of the first 2 MiB read and its LF after it.
    const std::size_t first = (1u << 20) + TLineReader::maxline;
    std::string content;
    const std::size_t filler = (first - 1) / 100;
    for (std::size_t i = 0; i < filler; ++i) content += std::string(99, 'y') + "\n";
    content += std::string(first - 1 - content.size(), 'z') + "\r\nlast\n";
    const Lines lines = ReadAll(content);
    ASSERT_EQ(lines.size(), filler + 2);
    EXPECT_EQ(lines[filler], std::string(first - 1 - filler * 100, 'z'));
    EXPECT_EQ(lines.back(), "last");

    std::u16string text;
    for (int i = 0; i < 150000; ++i) text += u"\u00e9\U0001F600x\r\n";
    const Lines wide = ReadAll(Utf16(text, true));
    ASSERT_EQ(wide.size(), 150000u);
    for (const auto& l : wide) ASSERT_EQ(l, "\xC3\xA9\xF0\x9F\x98\x80x");
}

// A short file gets a buffer of about its size: text that needs more room still comes out
// whole, and a reader opened again on a longer file reads all of it.
TEST(TLineReader, ShortFileBufferGrows) {
    std::u16string euros;
    for (int i = 0; i < 9000; ++i) euros += u"\u20ac";  // 18 KB read, 27 KB decoded
    std::string euros8;
    for (int i = 0; i < 9000; ++i) euros8 += "\xE2\x82\xAC";
    EXPECT_EQ(ReadAll(Utf16(euros + u"\nend", true)), (Lines{euros8, "end"}));

    const test::TempDir dir;
    const std::string path = dir.Write("log.txt", "first\n");
    const std::string later = std::string(10000, 'g') + "\nlast";
    TLineReader r;
    ASSERT_TRUE(r.Open(path));
    dir.Write("log.txt", "first\n" + later);  // grown after the open
    Lines lines;
    std::string_view l;
    while (r.Next(l)) lines.emplace_back(l);
    EXPECT_EQ(lines, (Lines{"first", std::string(10000, 'g'), "last"}));

    const std::string longer = dir.Write("longer.txt", std::string(3u << 20, 'h') + "\nend\n");
    ASSERT_TRUE(r.Open(longer));
    lines.clear();
    while (r.Next(l)) lines.emplace_back(l);
    EXPECT_EQ(lines, (Lines{std::string(TLineReader::maxline, 'h'), "end"}));
}

TEST(TLineReader, RefusesWhatIsNoRegularFile) {
    const test::TempDir dir;
    TLineReader r;
    for (const std::string& path : {dir.File("missing.log"), dir.path().string(), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(r.Open(path));
        std::string_view l;
        EXPECT_FALSE(r.Next(l));
    }
}

}  // namespace
}  // namespace brenvik
