#pragma once
// The benchmark's log generator: a deterministic, realistic NMEA 0183 and AIS log.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brenvik::bench {

// splitmix64: the same numbers on every platform and standard library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
    int Int(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
    bool Chance(double p) { return Uniform() < p; }

private:
    std::uint64_t state;
};

// A UTC time as seconds since 1970-01-01, split into calendar parts.
struct Civil {
    int year, month, day, hour, minute, second;
};
Civil ToCivil(std::int64_t unixsecs);

// "$" or "!", the body, "*" and the two-digit checksum of the body.
std::string Sentence(char start, std::string_view body);

// Writes `lines` lines (header included) of a generated log; returns false on a write error.
bool GenerateLog(const std::string& path, long lines, std::uint64_t seed);

// AIS traffic: a fleet of vessels around the own ship, encoded as !AIVDM/!AIVDO sentences.
struct AisVessel;
class AisTraffic {
public:
    AisTraffic(Rng& rng, double lat, double lon, int vessels);
    ~AisTraffic();
    AisTraffic(const AisTraffic&) = delete;
    AisTraffic& operator=(const AisTraffic&) = delete;

    // The sentences of one message from a vessel picked at random, at time t.
    void Message(std::int64_t t, std::vector<std::string>& out);
    // The own ship's position report (type 1, "VDO").
    void OwnReport(std::int64_t t, std::uint32_t mmsi, double lat, double lon, double sog, double cog,
                   double heading, double rot, std::vector<std::string>& out);

private:
    Rng& rng;
    std::vector<AisVessel> fleet;
    int seqid = 0;
};

}  // namespace brenvik::bench
