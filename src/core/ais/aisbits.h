#pragma once
// The AIS payload as a bit string: six bits per armoured character, most significant first.
#include <cstdint>
#include <string>
#include <string_view>

namespace brenvik {

struct TaisEvent;

// A field of a message layout: first bit (0 = first bit of the payload) and width in bits.
struct TBitField {
    std::uint16_t offset;
    std::uint8_t width;
};

// The 6-bit value of an armoured payload character. Characters outside the two armour
// ranges keep the same arithmetic, cut to six bits.
constexpr std::uint32_t dearmour(char c) {
    const int code = static_cast<unsigned char>(c);
    return static_cast<std::uint32_t>(code < 95 ? code - 48 : code - 56) & 63u;
}

// Reads fields in order from the first bit. Bits past the end of the payload read as zero.
class TaisBits {
public:
    explicit TaisBits(std::string_view payload) : payload_(payload) {}
    // The reader keeps a view: a temporary payload would be gone before the first read.
    explicit TaisBits(std::string&&) = delete;
    explicit TaisBits(const char* payload) : payload_(payload) {}

    // The next n bits (1 to 32) as an unsigned number, the first bit read the most significant.
    std::uint32_t getbits(int n);
    // The next n bits as a two's-complement number.
    std::int32_t getsigned(int n);
    // The next n six-bit characters, blanks removed at both ends.
    std::string gettext(int n);
    // Longitude (28 bits) then latitude (27 bits), in 1/10000 minute, into the report; clears
    // valid for a position that cannot be one. The long-range report carries coarser fields:
    // their widths and the units per degree are given then.
    void getposition(TaisEvent& e, int lngbits = 28, int latbits = 27, double perdegree = 600000.0);

    // Moves to the first bit of a layout field (a skip, without reading).
    void seek(std::uint32_t bit) { bit_ = bit; }
    std::uint32_t bits(TBitField f) { seek(f.offset); return getbits(f.width); }
    std::int32_t sbits(TBitField f) { seek(f.offset); return getsigned(f.width); }
    std::string text(TBitField f) { seek(f.offset); return gettext(f.width / 6); }

    std::uint32_t position() const { return bit_; }

private:
    std::string_view payload_;
    std::uint32_t bit_ = 0;  // next bit to read
};

}  // namespace brenvik
