#include "model/strutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace brenvik {
namespace {

TEST(ParseDecimal, AcceptsOnlyPlainDecimals) {
    struct Case { const char* text; bool ok; double value; };
    const Case cases[] = {
        {"12.5", true, 12.5},   {"-0.25", true, -0.25}, {"+3", true, 3},   {"7.", true, 7},
        {".5", true, 0.5},      {"0045", true, 45},     {"", false, 0},    {".", false, 0},
        {"-", false, 0},        {"1e5", false, 0},      {"inf", false, 0}, {"nan", false, 0},
        {" 1", false, 0},       {"1 ", false, 0},       {"1.2.3", false, 0}, {"0x1A", false, 0},
        {"--1", false, 0},      {"+-1", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto v = ParseDecimal(c.text);
        ASSERT_EQ(v.has_value(), c.ok);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(*v, c.value);
        }
    }
    // Long digit strings still convert to the nearest double.
    EXPECT_DOUBLE_EQ(*ParseDecimal("123456789012345678901234567890"), 1.2345678901234568e29);
}

TEST(ParseInt, RangeAndSyntax) {
    EXPECT_EQ(ParseInt("42"), 42);
    EXPECT_EQ(ParseInt("-330"), -330);
    EXPECT_EQ(ParseInt("+7"), 7);
    EXPECT_EQ(ParseInt("2147483647"), 2147483647);
    EXPECT_FALSE(ParseInt("2147483648"));
    EXPECT_FALSE(ParseInt("1.0"));
    EXPECT_FALSE(ParseInt(""));
    EXPECT_FALSE(ParseInt("-"));
    EXPECT_FALSE(ParseInt("+-3"));
    EXPECT_FALSE(ParseInt("x"));
    EXPECT_THROW(ToInt("x"), ConvertError);
    EXPECT_THROW(ToDouble(""), ConvertError);
}

TEST(CommaText, SplitsLikeTheSentenceReader) {
    struct Case { std::string text; std::vector<std::string> fields; };
    const Case cases[] = {
        {"$GPHDT,123.4,T", {"$GPHDT", "123.4", "T"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {",", {"", ""}},
        {"", {}},
        {"   ", {}},
        {"HIGH WATER,x", {"HIGH", "WATER", "x"}},
        {"\"R of Turn\",72,1,13", {"R of Turn", "72", "1", "13"}},
        {"\"say \"\"hi\"\"\",2", {"say \"hi\"", "2"}},
        {"\"unterminated", {"unterminated"}},
        {"\"ab\"cd,e", {"ab", "cd", "e"}},
        {"a , b", {"a", "b"}},
        {"a,\tb", {"a", "b"}},
        {std::string("a,b\0,c", 6), {"a", "b"}},
        // Longer than one eight-character step: a comma before a minus, and the stops and
        // quotes that need the full rules at several places of a step.
        {"$GPVBW,7.61,-0.06,A,,-0.16,A,", {"$GPVBW", "7.61", "-0.06", "A", "", "-0.16", "A", ""}},
        {",,,,,,,,,", {"", "", "", "", "", "", "", "", "", ""}},
        {"$GPVBW,7.61 ,-0.06", {"$GPVBW", "7.61", "-0.06"}},
        {"$GPTXT,01,\"a,b\"", {"$GPTXT", "01", "a,b"}},
        {std::string("$GPHDT,1\0,T", 11), {"$GPHDT", "1"}},
        {"$GPHDT,12345678\x80,T", {"$GPHDT", "12345678\x80", "T"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitCommaText(c.text), c.fields);
    }
}

// Sentences are split several characters at a time: every length, and a NUL (which ends the
// text) at every position, must give what splitting at each comma gives.
TEST(CommaText, EveryLengthAndStopPosition) {
    const std::string base = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,,-0.9,545.4,M,46.9,M,,";
    const auto atcommas = [](const std::string& t) {
        std::vector<std::string> f(1);
        for (char c : t)
            if (c == ',') f.emplace_back(); else f.back().push_back(c);
        return t.empty() ? std::vector<std::string>{} : f;
    };
    for (std::size_t len = 0; len <= base.size(); ++len) {
        SCOPED_TRACE(len);
        const std::string text = base.substr(0, len);
        EXPECT_EQ(SplitCommaText(text), atcommas(text));
        for (std::size_t pos = 0; pos < len; ++pos) {
            std::string cut = text;
            cut[pos] = '\0';
            EXPECT_EQ(SplitCommaText(cut), atcommas(text.substr(0, pos))) << pos;
        }
    }
}

TEST(CommaText, JoinQuotesWhatWouldNotReadBack) {
    EXPECT_EQ(JoinCommaText(std::vector<std::string>{"Source#", "75", "1", "0"}), "Source#,75,1,0");
    EXPECT_EQ(JoinCommaText(std::vector<std::string>{"V M G", "70"}), "\"V M G\",70");
    EXPECT_EQ(JoinCommaText(std::vector<std::string>{"a\"b", "c,d"}), "\"a\"\"b\",\"c,d\"");
    EXPECT_EQ(JoinCommaText(std::vector<std::string>{""}), "\"\"");
    EXPECT_EQ(JoinCommaText(std::vector<std::string>{"", ""}), ",");
    for (const std::vector<std::string>& v : {std::vector<std::string>{"x y", "\"q\"", "", "z"},
                                              std::vector<std::string>{"R of Turn", "72", "1", "13"}}) {
        EXPECT_EQ(SplitCommaText(JoinCommaText(v)), v);
    }
}

TEST(Trim, RemovesControlCharactersAndBlanks) {
    EXPECT_EQ(Trim(" \t\r$GPGGA,1\r\n"), "$GPGGA,1");
    EXPECT_EQ(Trim(std::string_view("\0\0x\0", 4)), "x");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("\xB0x\xB0"), "\xB0x\xB0");  // bytes above 127 are text
}

TEST(PopField, TakesTheTextBeforeTheFirstComma) {
    std::string_view text = "2012-03-15,10:11:12,rest";
    std::string_view field;
    PopField(text, field);
    EXPECT_EQ(field, "2012-03-15");
    EXPECT_EQ(text, "10:11:12,rest");
    text = "nocomma";
    PopField(text, field);
    EXPECT_EQ(field, "nocomma");
    EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace brenvik

namespace brenvik {
namespace {

// Short numbers take a quick path; it must give exactly what a correctly rounding reader gives.
TEST(ParseDecimal, QuickPathIsCorrectlyRounded) {
    const char* texts[] = {"4807.038", "0.1", "0.3", "01131.000", "545.4", "-0.000001", "123456789012345",
                           "1234567.89012345", "0.999999999999999", "9007199254740993", "2.5", "100",
                           "12345678901234.5", "0.000000000000001", "46.9", "-33.9"};
    for (const char* t : texts) {
        SCOPED_TRACE(t);
        EXPECT_EQ(*ParseDecimal(t), std::strtod(t, nullptr));
    }
    // Every number of up to six digits with up to six decimals, against strtod.
    for (int n = 0; n < 1000000; n += 7)
        for (int d = 0; d <= 6; d += 3) {
            std::string t = std::to_string(n);
            if (d > 0) {
                t = std::string(static_cast<std::size_t>(std::max(0, d + 1 - static_cast<int>(t.size()))), '0') + t;
                t.insert(t.size() - static_cast<std::size_t>(d), ".");
            }
            ASSERT_EQ(*ParseDecimal(t), std::strtod(t.c_str(), nullptr)) << t;
        }
}

}  // namespace
}  // namespace brenvik
