#include "export/textfile.h"

#include <gtest/gtest.h>

#include "core/export/exportsupport.h"
#include "model/strutil.h"

namespace brenvik {
namespace {

using test::ReadFile;
using test::TempDir;

// Independent check: every sequence well-formed UTF-8 (no overlongs, surrogates or values
// above U+10FFFF).
bool IsUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        unsigned cp = 0;
        if (b < 0x80) { len = 1; cp = b; }
        else if ((b & 0xE0) == 0xC0) { len = 2; cp = b & 0x1Fu; }
        else if ((b & 0xF0) == 0xE0) { len = 3; cp = b & 0x0Fu; }
        else if ((b & 0xF8) == 0xF0) { len = 4; cp = b & 0x07u; }
        else return false;
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        const unsigned minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

TEST(Utf8, KeepsValidSequencesAndEncodesOtherBytesAsLatin1) {
    struct Case { const char* name; std::string in; std::string out; };
    const Case cases[] = {
        {"ascii", "$PFEC,GPatt,1.0*", "$PFEC,GPatt,1.0*"},
        {"degree sign already UTF-8", "51\xC2\xB0" "30'", "51\xC2\xB0" "30'"},
        {"lone Latin-1 degree", "51\xB0" "30'", "51\xC2\xB0" "30'"},
        {"three-byte euro kept", "\xE2\x82\xAC", "\xE2\x82\xAC"},
        {"four-byte kept", "\xF0\x9F\x9A\xA2", "\xF0\x9F\x9A\xA2"},
        {"y diaeresis", "\xFF", "\xC3\xBF"},
        {"overlong NUL", "\xC0\x80", "\xC3\x80\xC2\x80"},
        {"overlong three-byte", "\xE0\x80\xAF", "\xC3\xA0\xC2\x80\xC2\xAF"},
        {"surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},
        {"truncated at end", "a\xE2\x82", "a\xC3\xA2\xC2\x82"},
        {"lead byte then ASCII", "\xC3(", "\xC3\x83("},
        {"Latin-1 word", "Gr\xFC\xDF" "e", "Gr\xC3\xBC\xC3\x9F" "e"},
        {"valid after invalid", "\xE9\xC3\xA9", "\xC3\xA9\xC3\xA9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ToUtf8(c.in), c.out);
    }
}

TEST(Utf8, AnyInputBecomesValidUtf8AndStaysSo) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    const std::string inputs[] = {all, std::string(all.rbegin(), all.rend()), "\xE2\x82\xE2\x82\xAC\xF0"};
    for (const auto& in : inputs) {
        const std::string once = ToUtf8(in);
        EXPECT_TRUE(IsUtf8(once));
        EXPECT_EQ(ToUtf8(once), once);  // a second pass changes nothing
    }
}

TEST(XmlEscape, ReservedAndForbiddenCharacters) {
    struct Case { const char* name; std::string in; std::string text; std::string attr; };
    const Case cases[] = {
        {"plain", "R_of_Turn", "R_of_Turn", "R_of_Turn"},
        {"reserved", "a<b & c>d", "a&lt;b &amp; c&gt;d", "a&lt;b &amp; c&gt;d"},
        {"quotes", "\"x\" 'y'", "\"x\" 'y'", "&quot;x&quot; 'y'"},
        {"existing entity re-escaped", "&amp;", "&amp;amp;", "&amp;amp;"},
        {"tab LF CR", "a\tb\nc\rd", "a&#9;b&#10;c&#13;d", "a&#9;b&#10;c&#13;d"},
        {"C0 controls", std::string("a\x01\x1F", 3) + std::string(1, '\0'), "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
         "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"U+FFFE U+FFFF", "\xEF\xBF\xBE\xEF\xBF\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"U+FFFD and U+FFEF kept", "\xEF\xBF\xBD\xEF\xBF\xAF", "\xEF\xBF\xBD\xEF\xBF\xAF", "\xEF\xBF\xBD\xEF\xBF\xAF"},
        {"DEL and C1 allowed", "\x7F\xC2\x85", "\x7F\xC2\x85", "\x7F\xC2\x85"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string t, a;
        AppendXmlText(t, c.in);
        AppendXmlAttr(a, c.in);
        EXPECT_EQ(t, c.text);
        EXPECT_EQ(a, c.attr);
    }
}

TEST(XmlEscape, CDataBreaksOnlyTheEndMarker) {
    struct Case { std::string in; std::string out; };
    const Case cases[] = {
        {"<b>a & b</b>", "<b>a & b</b>"},
        {"x]]>y", "x]]]]><![CDATA[>y"},
        {"]]]>", "]]]]]><![CDATA[>"},
        {"]]>]]>", "]]]]><![CDATA[>]]]]><![CDATA[>"},
        {"] ]>", "] ]>"},
        {"a\x02", "a\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        std::string out;
        AppendXmlCData(out, c.in);
        EXPECT_EQ(out, c.out);
    }
}

TEST(CsvCell, QuotesWhatWouldSplitTheCell) {
    struct Case { std::string in; std::string cell; std::string quoted; };
    const Case cases[] = {
        {"plain", "plain", "\"plain\""},
        {"a,b", "\"a,b\"", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\"", "\"two\r\nlines\""},
        {"  1.50", "  1.50", "\"  1.50\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        std::string cell, quoted;
        AppendCsvCell(cell, c.in);
        AppendCsvQuoted(quoted, c.in);
        EXPECT_EQ(cell, c.cell);
        EXPECT_EQ(quoted, c.quoted);
    }
}

TEST(TextOut, WritesUtf8LinesWithCrLfAndReplacesTheFile) {
    TempDir dir;
    const std::string path = dir / "out.txt";
    test::WriteFile(path, "an older and much longer content that must disappear\n");
    TTextOut out;
    ASSERT_TRUE(out.Create(path));
    out.Line("first \xB0");
    out.Write("no end ");
    out.Line("");
    out.Line("\xC2\xB0");
    EXPECT_TRUE(out.ok());
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(ReadFile(path), "first \xC2\xB0\r\nno end \r\n\xC2\xB0\r\n");
}

// The fuzz targets write into memory: the bytes must be those of the file.
TEST(TextOut, AStringReceivesTheBytesAFileGets) {
    TempDir dir;
    const std::string path = dir / "out.txt";
    std::string sink = "kept ";
    TTextOut file, memory(sink);
    ASSERT_TRUE(file.Create(path));
    EXPECT_FALSE(memory.Create(path));  // already has its output
    for (TTextOut* out : {&file, &memory}) {
        out->Line("Gr\xFC\xDF" "e \xC2\xB0 \xE2\x82");
        out->Write(std::string(3000, 'a') + "\xB0");
        out->RawLine("raw \xB0");
        EXPECT_TRUE(out->ok());
        EXPECT_TRUE(out->Close());
        EXPECT_FALSE(out->ok());
    }
    EXPECT_EQ("kept " + ReadFile(path), sink);
    const std::string head = "kept Gr\xC3\xBC\xC3\x9F" "e \xC2\xB0 \xC3\xA2\xC2\x82\r\n";
    const std::string tail = "a\xC2\xB0raw \xB0\r\n";
    EXPECT_EQ(sink.substr(0, head.size()), head);
    EXPECT_EQ(sink.size(), head.size() + 2999 + tail.size());
    EXPECT_EQ(sink.substr(sink.size() - tail.size()), tail);
}

TEST(TextOut, FailuresAreReported) {
    TempDir dir;
    {
        SCOPED_TRACE("path that cannot be created");
        TTextOut out;
        EXPECT_FALSE(out.Create(dir / "missing/folder/out.txt"));
        out.Line("x");
        EXPECT_FALSE(out.ok());
        EXPECT_FALSE(out.Close());
    }
    {
        SCOPED_TRACE("never opened");
        TTextOut out;
        EXPECT_FALSE(out.Close());
    }
    {
        SCOPED_TRACE("full disk, small file: noticed when closing");
        TTextOut out;
        ASSERT_TRUE(out.Create("/dev/full"));
        out.Line("short");
        EXPECT_FALSE(out.Close());
    }
    {
        SCOPED_TRACE("full disk, large file: noticed while writing, nothing more written");
        TTextOut out;
        ASSERT_TRUE(out.Create("/dev/full"));
        const std::string line(1000, 'x');
        for (int i = 0; i < 100 && out.ok(); ++i) out.Line(line);
        EXPECT_FALSE(out.ok());
        EXPECT_FALSE(out.Close());
    }
}

}  // namespace
}  // namespace brenvik
