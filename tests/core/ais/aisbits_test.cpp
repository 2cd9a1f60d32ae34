#include "ais/aisbits.h"

#include <gtest/gtest.h>

#include "aispayload.h"
#include "model/aisreport.h"

namespace brenvik {
namespace {

TEST(AisBits, DearmourCoversBothRangesAndStaysWithinSixBits) {
    struct Case {
        char c;
        std::uint32_t value;
    };
    const Case cases[] = {
        {'0', 0}, {'W', 39}, {'`', 40}, {'w', 63}, {'5', 5}, {'a', 41},
        // Outside the armour ranges: same arithmetic, cut to six bits.
        {'X', 40}, {'_', 39}, {' ', 48}, {'x', 0}, {static_cast<char>(200), 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.c));
        EXPECT_EQ(dearmour(c.c), c.value);
    }
}

TEST(AisBits, ReadsAcrossCharactersMostSignificantFirst) {
    // "1" = 000001, "0" = 000000, "w" = 111111.
    TaisBits b("10w");
    EXPECT_EQ(b.getbits(3), 0u);
    EXPECT_EQ(b.getbits(6), 0b001000u);
    EXPECT_EQ(b.getbits(5), 0b00011u);
    EXPECT_EQ(b.getbits(4), 0b1111u);
    EXPECT_EQ(b.position(), 18u);
}

TEST(AisBits, BitsPastTheEndReadAsZero) {
    TaisBits b("w");
    EXPECT_EQ(b.getbits(8), 0b11111100u);
    EXPECT_EQ(b.getbits(30), 0u);
    TaisBits empty("");
    EXPECT_EQ(empty.getbits(30), 0u);
    EXPECT_EQ(empty.gettext(20), "");
    TaisBits far("www");
    far.seek(1000000);
    EXPECT_EQ(far.getbits(30), 0u);
}

TEST(AisBits, SignedFieldsUseTwosComplement) {
    struct Case {
        std::int64_t raw;
        int width;
        std::int32_t value;
    };
    const Case cases[] = {{128, 8, -128}, {127, 8, 127}, {255, 8, -1}, {0, 8, 0}, {(1 << 27) - 1, 27, -1},
                          {1 << 26, 27, -(1 << 26)}, {(1 << 26) - 1, 27, (1 << 26) - 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        const std::string payload = test::Payload().Put(c.raw, c.width).Armour();
        TaisBits b(payload);
        EXPECT_EQ(b.getsigned(c.width), c.value);
    }
}

TEST(AisBits, TextMapsSixBitValuesAndTrimsBlanks) {
    // 1, 0, 32, 63: the letter A, two blanks, a question mark.
    const std::string four = test::Payload().Put(1, 6).Put(0, 6).Put(32, 6).Put(63, 6).Armour();
    EXPECT_EQ(TaisBits(four).gettext(4), "A  ?");
    const std::string name = test::Payload().Text("  SEA@STAR", 20).Armour();
    EXPECT_EQ(TaisBits(name).gettext(20), "SEA STAR");  // inner fill stays a blank, outer ones go
    const std::string fill = test::Payload().Put(0, 120).Armour();
    EXPECT_EQ(TaisBits(fill).gettext(20), "");
}

TEST(AisBits, PositionValidity) {
    struct Case {
        double lat, lng;
        bool valid;
    };
    const Case cases[] = {
        {-33.9, -4.5, true}, {0, 0, false}, {0, 0.5, true}, {91, 181, false}, {90, 180, true},
        {-90, -180, true},   {0, -181, false}, {-91, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lat << " " << c.lng);
        TaisEvent e;
        e.valid = true;
        const std::string payload = test::Payload().Position(c.lat, c.lng).Armour();
        TaisBits b(payload);
        b.getposition(e);
        EXPECT_NEAR(e.coord.lat, c.lat, 1e-9);
        EXPECT_NEAR(e.coord.lng, c.lng, 1e-9);
        EXPECT_EQ(e.valid, c.valid);
    }
}

}  // namespace
}  // namespace brenvik
