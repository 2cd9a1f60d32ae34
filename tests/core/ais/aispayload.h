#pragma once
// Builds armoured AIS payloads bit by bit for the AIS tests.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ais/aisassembly.h"
#include "ais/aisdecode.h"
#include "model/sentencefields.h"
#include "session.h"

namespace brenvik::test {

class Payload {
public:
    // Unsigned (or two's-complement for negative values) field of `width` bits; wide fields
    // extend the sign.
    Payload& Put(std::int64_t value, int width) {
        for (int i = width - 1; i >= 0; --i) bits_.push_back(i >= 63 ? value < 0 : ((value >> i) & 1) != 0);
        return *this;
    }
    // Six-bit AIS text of exactly n characters, padded with the fill character "@".
    Payload& Text(std::string_view text, int n) {
        for (int i = 0; i < n; ++i) {
            const char c = i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : '@';
            Put(c >= 64 ? c - 64 : c, 6);
        }
        return *this;
    }
    // Longitude then latitude in 1/600000 degree, as a position report carries them.
    Payload& Position(double lat, double lng) {
        Put(static_cast<std::int64_t>(lng * 600000.0 + (lng < 0 ? -0.5 : 0.5)), 28);
        return Put(static_cast<std::int64_t>(lat * 600000.0 + (lat < 0 ? -0.5 : 0.5)), 27);
    }
    // Message type, repeat indicator 0, MMSI.
    static Payload Start(int msgtype, std::int64_t mmsi) {
        Payload p;
        p.Put(msgtype, 6).Put(0, 2).Put(mmsi, 30);
        return p;
    }
    std::size_t size() const { return bits_.size(); }
    // Armoured characters; the last one padded with zero bits.
    std::string Armour() const {
        std::string out;
        for (std::size_t i = 0; i < bits_.size(); i += 6) {
            int v = 0;
            for (std::size_t j = i; j < i + 6; ++j) v = v * 2 + (j < bits_.size() && bits_[j] ? 1 : 0);
            out.push_back(static_cast<char>(v < 40 ? v + 48 : v + 56));
        }
        return out;
    }

private:
    std::vector<bool> bits_;
};

// A type 1 report: status, rate of turn, speed (0.1 kn), position, course (0.1 deg), heading, second.
inline Payload PositionReport(std::int64_t mmsi, int status, int rot, int sog, double lat, double lng, int cog,
                              int heading, int second) {
    Payload p = Payload::Start(1, mmsi);
    p.Put(status, 4).Put(rot, 8).Put(sog, 10).Put(0, 1).Position(lat, lng).Put(cog, 12).Put(heading, 9).Put(second, 6);
    p.Put(0, 168 - static_cast<int>(p.size()));
    return p;
}

// Hands one sentence (without its checksum) to ProcessAIS as line `line`.
inline void Feed(Session& s, std::string_view sentence, std::int32_t line = 1) {
    s.recnumb = line;
    Fields f;
    f.Split(sentence);
    ProcessAIS(s, f);
}

inline std::string Vdm(std::string_view payload, std::string_view channel = "A") {
    return "!AIVDM,1,1,," + std::string(channel) + "," + std::string(payload) + ",0";
}

}  // namespace brenvik::test
