// AIS encoding for the log generator: bit packing, 6-bit armour, fill bits, fragments, and a
// fleet of vessels whose messages are encoded as a receiver would log them.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "genlog.h"

namespace brenvik::bench {

namespace {

// Bit fields written most significant bit first, as the AIS payload orders them.
class Payload {
public:
    void Put(std::uint64_t v, int n) {
        for (int i = n - 1; i >= 0; --i) bits.push_back(static_cast<std::uint8_t>((v >> i) & 1u));
    }
    void PutSigned(std::int64_t v, int n) {
        Put(static_cast<std::uint64_t>(v) & ((std::uint64_t{1} << n) - 1), n);
    }
    // Text in the AIS 6-bit character set, padded with "@" (value 0).
    void PutText(std::string_view s, int chars) {
        for (int i = 0; i < chars; ++i) {
            int c = i < static_cast<int>(s.size()) ? static_cast<unsigned char>(s[static_cast<std::size_t>(i)]) : '@';
            if (c >= 'a' && c <= 'z') c -= 32;
            int v = 0;
            if (c >= 64 && c < 96) v = c - 64;
            else if (c >= 32 && c < 64) v = c;
            Put(static_cast<std::uint64_t>(v), 6);
        }
    }
    // Longitude then latitude in 1/10000 minute: 28 and 27 bits.
    void PutPosition(double lat, double lon) {
        PutSigned(std::llround(lon * 600000.0), 28);
        PutSigned(std::llround(lat * 600000.0), 27);
    }
    // The armoured text and the number of fill bits that pad it to whole characters.
    std::string Armour(int& fill) const {
        fill = static_cast<int>((6 - bits.size() % 6) % 6);
        std::string out;
        for (std::size_t i = 0; i < bits.size(); i += 6) {
            int v = 0;
            for (std::size_t j = i; j < i + 6; ++j) v = v * 2 + (j < bits.size() ? bits[j] : 0);
            out.push_back(static_cast<char>(v < 40 ? v + 48 : v + 56));
        }
        return out;
    }

private:
    std::vector<std::uint8_t> bits;
};

constexpr std::array<const char*, 16> kFirstNames{"NORDIC", "ATLANTIC", "NORTHERN", "POLAR", "BALTIC", "OCEAN",
                                                  "CAPE", "VIKING", "WESTERN", "SILVER", "FJORD", "STORM",
                                                  "BERGEN", "SKAGEN", "ARCTIC", "HAVILA"};
constexpr std::array<const char*, 16> kLastNames{"STAR", "PRINCESS", "EXPLORER", "TRADER", "SPIRIT", "WIND",
                                                 "LIGHT", "HAWK", "CARRIER", "PIONEER", "QUEEN", "SUPPLIER",
                                                 "FISHER", "CHIEF", "LADY", "ENDEAVOUR"};
constexpr std::array<const char*, 12> kDestinations{"BERGEN", "NO BGO", "STAVANGER", "ROTTERDAM", "HAMBURG",
                                                    "ABERDEEN", "ALESUND", "MONGSTAD", "KRISTIANSUND",
                                                    "ESBJERG", "FISHING GROUNDS", "TRONDHEIM"};
// Maritime identification digits of the fleet's flags, most of them local.
constexpr std::array<int, 12> kMids{257, 257, 257, 258, 259, 219, 265, 211, 244, 232, 636, 538};
constexpr std::array<int, 8> kShipTypes{70, 71, 80, 30, 52, 60, 37, 90};

double Rad(double d) { return d * std::numbers::pi / 180.0; }

std::string Fragment(char kind, int count, int number, std::string_view seq, char channel,
                     std::string_view payload, int fill) {
    std::string body = kind == 'O' ? "AIVDO," : "AIVDM,";
    body += std::to_string(count) + ',' + std::to_string(number) + ',';
    body += seq;
    body += ',';
    body += channel;
    body += ',';
    body += payload;
    body += ',' + std::to_string(fill);
    return Sentence('!', body);
}

}  // namespace

struct AisVessel {
    std::uint32_t mmsi = 0;
    int cls = 0;  // 0 class A, 1 class B, 2 base station
    double lat = 0, lon = 0, cog = 0, sog = 0;
    double homelat = 0, homelon = 0;  // the receiver hears vessels within some 20 miles of it
    std::int64_t fixtime = 0;
    int status = 0, shiptype = 0, bow = 0, stern = 0, port = 0, starboard = 0, draught = 0;
    int etamonth = 0, etaday = 0, etahour = 0, etaminute = 0;
    std::uint32_t imo = 0;
    std::string name, call, dest;
};

AisTraffic::AisTraffic(Rng& r, double lat, double lon, int vessels) : rng(r) {
    for (int i = 0; i < vessels; ++i) {
        AisVessel v;
        v.cls = i < 3 ? 2 : (rng.Chance(0.22) ? 1 : 0);
        const int mid = kMids[static_cast<std::size_t>(rng.Int(kMids.size()))];
        v.mmsi = v.cls == 2 ? static_cast<std::uint32_t>(mid * 10000 + 100 + i)  // 00MIDxxxx
                            : static_cast<std::uint32_t>(mid * 1000000 + 100000 + rng.Int(899999));
        v.homelat = lat;
        v.homelon = lon;
        v.lat = lat + rng.Range(-0.25, 0.25);
        v.lon = lon + rng.Range(-0.5, 0.5);
        const bool moored = v.cls == 0 && rng.Chance(0.2);
        v.status = moored ? (rng.Chance(0.5) ? 5 : 1) : (rng.Chance(0.1) ? 7 : 0);
        v.sog = moored || v.cls == 2 ? 0.0 : rng.Range(3.0, 18.0);
        v.cog = rng.Range(0.0, 360.0);
        v.shiptype = v.cls == 1 ? 37 : kShipTypes[static_cast<std::size_t>(rng.Int(kShipTypes.size()))];
        v.bow = v.cls == 1 ? 6 + rng.Int(8) : 20 + rng.Int(160);
        v.stern = v.cls == 1 ? 2 + rng.Int(4) : 10 + rng.Int(40);
        v.port = v.cls == 1 ? 2 : 5 + rng.Int(12);
        v.starboard = v.cls == 1 ? 2 : 5 + rng.Int(12);
        v.draught = v.cls == 1 ? 15 : 40 + rng.Int(120);
        v.etamonth = 6;
        v.etaday = 12 + rng.Int(5);
        v.etahour = rng.Int(24);
        v.etaminute = rng.Int(12) * 5;
        v.imo = static_cast<std::uint32_t>(9100000 + rng.Int(899999));
        v.name = std::string(kFirstNames[static_cast<std::size_t>(rng.Int(kFirstNames.size()))]) + ' ' +
                 kLastNames[static_cast<std::size_t>(rng.Int(kLastNames.size()))];
        if (rng.Chance(0.3)) v.name += rng.Chance(0.5) ? " II" : " " + std::to_string(rng.Int(20) + 1);
        v.call = "L" + std::string(1, static_cast<char>('A' + rng.Int(26))) + std::to_string(1000 + rng.Int(9000));
        v.dest = kDestinations[static_cast<std::size_t>(rng.Int(kDestinations.size()))];
        fleet.push_back(std::move(v));
    }
}

AisTraffic::~AisTraffic() = default;

void AisTraffic::Message(std::int64_t t, std::vector<std::string>& out) {
    AisVessel& v = fleet[static_cast<std::size_t>(rng.Int(static_cast<int>(fleet.size())))];
    // Dead reckoning since the vessel's last fix, with the odd small alteration of course.
    const double hours = static_cast<double>(t - v.fixtime) / 3600.0;
    if (v.fixtime != 0 && v.sog > 0) {
        v.lat += v.sog * hours / 60.0 * std::cos(Rad(v.cog));
        v.lon += v.sog * hours / 60.0 * std::sin(Rad(v.cog)) / std::cos(Rad(v.lat));
        if (std::fabs(v.lat - v.homelat) > 0.3 || std::fabs(v.lon - v.homelon) > 0.6) {
            const double home = std::atan2((v.homelon - v.lon) * std::cos(Rad(v.lat)), v.homelat - v.lat);
            v.cog = std::fmod(home * 180.0 / std::numbers::pi + rng.Range(-20.0, 20.0) + 720.0, 360.0);
        } else if (rng.Chance(0.2)) {
            v.cog = std::fmod(v.cog + rng.Range(-15.0, 15.0) + 360.0, 360.0);
        }
    }
    v.fixtime = t;
    const Civil c = ToCivil(t);
    const char channel = rng.Chance(0.5) ? 'A' : 'B';
    Payload p;
    const double pick = rng.Uniform();
    int type = 0;
    if (v.cls == 2) type = 4;
    else if (v.cls == 1) type = pick < 0.8 ? 18 : 24;
    else type = pick < 0.07 ? 5 : (pick < 0.12 ? 3 : (pick < 0.14 ? 2 : 1));
    p.Put(static_cast<std::uint64_t>(type), 6);
    p.Put(0, 2);
    p.Put(v.mmsi, 30);
    if (type <= 3) {
        p.Put(static_cast<std::uint64_t>(v.status), 4);
        const double rotdeg = v.sog > 0 ? rng.Range(-6.0, 6.0) : 0.0;
        const long rotais = std::lround(std::copysign(4.733 * std::sqrt(std::fabs(rotdeg)), rotdeg));
        p.PutSigned(rotais, 8);
        p.Put(static_cast<std::uint64_t>(std::lround(v.sog * 10.0)), 10);
        p.Put(1, 1);
        p.PutPosition(v.lat, v.lon);
        p.Put(static_cast<std::uint64_t>(std::lround(v.cog * 10.0)) % 3600, 12);
        p.Put(v.sog > 0 ? static_cast<std::uint64_t>(std::lround(v.cog + rng.Range(-3.0, 3.0)) + 360) % 360 : 511, 9);
        p.Put(static_cast<std::uint64_t>(c.second), 6);
        p.Put(0, 2 + 3 + 1);
        p.Put(rng.Next() & 0x7FFFF, 19);
    } else if (type == 4) {
        p.Put(static_cast<std::uint64_t>(c.year), 14);
        p.Put(static_cast<std::uint64_t>(c.month), 4);
        p.Put(static_cast<std::uint64_t>(c.day), 5);
        p.Put(static_cast<std::uint64_t>(c.hour), 5);
        p.Put(static_cast<std::uint64_t>(c.minute), 6);
        p.Put(static_cast<std::uint64_t>(c.second), 6);
        p.Put(1, 1);
        p.PutPosition(v.lat, v.lon);
        p.Put(7, 4);  // surveyed position
        p.Put(0, 10 + 1);
        p.Put(rng.Next() & 0x7FFFF, 19);
    } else if (type == 5) {
        p.Put(0, 2);
        p.Put(v.imo, 30);
        p.PutText(v.call, 7);
        p.PutText(v.name, 20);
        p.Put(static_cast<std::uint64_t>(v.shiptype), 8);
        p.Put(static_cast<std::uint64_t>(v.bow), 9);
        p.Put(static_cast<std::uint64_t>(v.stern), 9);
        p.Put(static_cast<std::uint64_t>(v.port), 6);
        p.Put(static_cast<std::uint64_t>(v.starboard), 6);
        p.Put(1, 4);  // GPS
        p.Put(static_cast<std::uint64_t>(v.etamonth), 4);
        p.Put(static_cast<std::uint64_t>(v.etaday), 5);
        p.Put(static_cast<std::uint64_t>(v.etahour), 5);
        p.Put(static_cast<std::uint64_t>(v.etaminute), 6);
        p.Put(static_cast<std::uint64_t>(v.draught), 8);
        p.PutText(v.dest, 20);
        p.Put(0, 2);
    } else if (type == 18) {
        p.Put(0, 8);
        p.Put(static_cast<std::uint64_t>(std::lround(v.sog * 10.0)), 10);
        p.Put(0, 1);
        p.PutPosition(v.lat, v.lon);
        p.Put(static_cast<std::uint64_t>(std::lround(v.cog * 10.0)) % 3600, 12);
        p.Put(511, 9);
        p.Put(static_cast<std::uint64_t>(c.second), 6);
        p.Put(0, 2);
        p.Put(0b1100000, 7);  // carrier-sense unit with a display
        p.Put(1, 1);          // communication state: ITDMA
        p.Put(rng.Next() & 0x7FFFF, 19);
    } else {
        const bool partb = rng.Chance(0.5);
        p.Put(partb ? 1 : 0, 2);
        if (!partb) {
            p.PutText(v.name, 20);
        } else {
            p.Put(static_cast<std::uint64_t>(v.shiptype), 8);
            p.PutText("SRT", 3);
            p.Put(2, 4);
            p.Put(v.mmsi & 0xFFFFF, 20);
            p.PutText(v.call, 7);
            p.Put(static_cast<std::uint64_t>(v.bow), 9);
            p.Put(static_cast<std::uint64_t>(v.stern), 9);
            p.Put(static_cast<std::uint64_t>(v.port), 6);
            p.Put(static_cast<std::uint64_t>(v.starboard), 6);
            p.Put(0, 6);
        }
    }
    int fill = 0;
    const std::string text = p.Armour(fill);
    if (text.size() <= 60) {
        out.push_back(Fragment('M', 1, 1, "", channel, text, fill));
        return;
    }
    // Two fragments: all fill bits belong to the last one.
    const std::string seq = std::to_string(seqid);
    seqid = (seqid + 1) % 10;
    out.push_back(Fragment('M', 2, 1, seq, channel, text.substr(0, 60), 0));
    out.push_back(Fragment('M', 2, 2, seq, channel, text.substr(60), fill));
}

void AisTraffic::OwnReport(std::int64_t t, std::uint32_t mmsi, double lat, double lon, double sog, double cog,
                           double heading, double rot, std::vector<std::string>& out) {
    Payload p;
    p.Put(1, 6);
    p.Put(0, 2);
    p.Put(mmsi, 30);
    p.Put(0, 4);
    p.PutSigned(std::lround(std::copysign(std::min(4.733 * std::sqrt(std::fabs(rot)), 126.0), rot)), 8);
    p.Put(static_cast<std::uint64_t>(std::lround(sog * 10.0)), 10);
    p.Put(1, 1);
    p.PutPosition(lat, lon);
    p.Put(static_cast<std::uint64_t>(std::lround(cog * 10.0)) % 3600, 12);
    p.Put(static_cast<std::uint64_t>(std::lround(heading)) % 360, 9);
    p.Put(static_cast<std::uint64_t>(ToCivil(t).second), 6);
    p.Put(0, 6);
    p.Put(rng.Next() & 0x7FFFF, 19);
    int fill = 0;
    const std::string text = p.Armour(fill);
    out.push_back(Fragment('O', 1, 1, "", 'A', text, fill));
}

}  // namespace brenvik::bench
