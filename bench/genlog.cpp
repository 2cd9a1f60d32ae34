// The log generator: a vessel sails a circuit off a harbour at 1 Hz and its instrument bus is
// logged with the AIS traffic around it. Some lines carry recorder time prefixes, a few are
// corrupted after their checksum was made; everything is derived from the seed.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <numbers>

#include "genlog.h"
#include "model/strutil.h"

namespace brenvik::bench {

namespace {

double Rad(double d) { return d * std::numbers::pi / 180.0; }
double Deg(double r) { return r * 180.0 / std::numbers::pi; }
double Wrap360(double d) { return std::fmod(std::fmod(d, 360.0) + 360.0, 360.0); }
double Wrap180(double d) { return Wrap360(d + 180.0) - 180.0; }

std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// 2025-06-12 13:58:00 UTC: the circuit crosses midnight in logs of more than ten hours.
const std::int64_t kStart = DaysFromCivil(2025, 6, 12) * 86400 + 13 * 3600 + 58 * 60;
constexpr double kOriginLat = 60.30;
constexpr double kOriginLon = 4.90;
constexpr double kVariation = 1.8;  // degrees west
constexpr std::uint32_t kOwnMmsi = 257123450;
constexpr double kAisPerSecond = 0.55;  // keeps a million lines within the AIS report capacity
constexpr int kFleet = 320;
constexpr int kPrefixBlock = 45;  // seconds per recorder prefix form
constexpr double kCorruptChance = 1.0 / 700.0;

// The circuit in nautical miles east and north of the origin, and the speed on each leg. The
// first leg and the closing leg both turn through north.
struct Waypoint {
    double east, north, knots;
};
constexpr Waypoint kRoute[] = {{0.6, 2.0, 9}, {3.0, 4.0, 12}, {5.0, 2.5, 12},
                               {4.5, -1.0, 11}, {1.5, -2.0, 10}, {-0.5, -0.5, 8}};
constexpr int kRouteSize = static_cast<int>(std::size(kRoute));

struct OwnShip {
    double east = 0, north = 0;  // nautical miles from the origin
    double heading = 330;        // true, degrees
    double stw = 7.5;            // speed through water, knots
    double sog = 7.5, cog = 330;
    double rot = 0;     // degrees per minute
    double rudder = 0;  // degrees, starboard positive
    double logtotal = 18342.6, logtrip = 0;
    int wp = 0;

    double Lat() const { return kOriginLat + north / 60.0; }
    double Lon() const { return kOriginLon + east / (60.0 * std::cos(Rad(Lat()))); }

    // One second: steer for the next waypoint, then move with a weak tidal set.
    void Step(Rng& rng) {
        double de = kRoute[wp].east - east, dn = kRoute[wp].north - north;
        if (std::hypot(de, dn) < 0.15) {
            wp = (wp + 1) % kRouteSize;
            de = kRoute[wp].east - east;
            dn = kRoute[wp].north - north;
        }
        const double error = Wrap180(Deg(std::atan2(de, dn)) - heading);
        const double targetrot = std::clamp(error * 2.0, -30.0, 30.0);
        rudder = std::clamp(targetrot * 0.5 + rng.Range(-0.5, 0.5), -35.0, 35.0);
        rot += (targetrot - rot) * 0.15 + rng.Range(-0.3, 0.3);
        heading = Wrap360(heading + rot / 60.0);
        stw = std::max(2.0, stw + std::clamp(kRoute[wp].knots - stw, -0.05, 0.05) + rng.Range(-0.02, 0.02));
        const double setn = -0.28 / 3600.0, sete = -0.10 / 3600.0;
        const double ve = stw / 3600.0 * std::sin(Rad(heading)) + sete;
        const double vn = stw / 3600.0 * std::cos(Rad(heading)) + setn;
        east += ve;
        north += vn;
        sog = std::hypot(ve, vn) * 3600.0;
        cog = Wrap360(Deg(std::atan2(ve, vn)));
        logtotal += stw / 3600.0;
        logtrip += stw / 3600.0;
    }
};

struct AlarmLine {
    std::int64_t at;
    std::string body;  // without the time field filled in: "%s" stands for it
};

constexpr const char* kBridgeAlarms[] = {"DEPTH BELOW LIMIT 10 M", "OFF TRACK LIMIT EXCEEDED", "GYRO HEADING DEVIATION",
                                         "BRIDGE WATCH ALARM NOT RESET", "ANCHOR WATCH POSITION"};
constexpr const char* kAisAlarms[] = {"AIS: antenna VSWR exceeds limit", "AIS: no sensor position in use",
                                      "AIS: UTC sync invalid"};
constexpr int kSats[] = {2, 5, 6, 9, 12, 13, 17, 19, 21, 25, 29};

// ddmm.mmmm or dddmm.mmmm and the hemisphere letter.
std::string Coord(double v, bool lon, char& hemi) {
    hemi = lon ? (v < 0 ? 'W' : 'E') : (v < 0 ? 'S' : 'N');
    const long long m = std::llround(std::fabs(v) * 600000.0);
    return Fmt(lon ? "%03lld%02lld.%04lld" : "%02lld%02lld.%04lld", m / 600000, m % 600000 / 10000, m % 10000);
}

class Generator {
public:
    Generator(std::FILE* f, long lines, std::uint64_t seed)
        : out(f), limit(lines), rng(seed), ais(rng, kOriginLat + 0.03, kOriginLon + 0.05, kFleet) {}

    bool Run(std::uint64_t seed) {
        Emit(Fmt("Brenvik sample log: harbour approach, generated by brenvik_bench gen (seed %llu, %ld lines)",
                 static_cast<unsigned long long>(seed), limit));
        Emit("One NMEA 0183 or AIS sentence per line; some lines carry a voyage data recorder time prefix");
        for (std::int64_t t = kStart; written < limit; ++t) Second(t);
        Flush();
        return !failed;
    }

private:
    void Emit(std::string_view line) {
        if (written >= limit) return;
        buf += line;
        buf += "\r\n";
        ++written;
        if (buf.size() > (1u << 20)) Flush();
    }
    void Flush() {
        if (!buf.empty() && std::fwrite(buf.data(), 1, buf.size(), out) != buf.size()) failed = true;
        buf.clear();
    }

    void Second(std::int64_t t);
    void Navigation(std::int64_t t, const Civil& c);
    void Sensors(std::int64_t t);
    void Alarms(std::int64_t t, const Civil& c);
    std::string Prefix(std::int64_t t, int k) const;
    void Corrupt(std::string& line);

    std::FILE* out;
    long limit;
    long written = 0;
    bool failed = false;
    std::string buf;
    Rng rng;
    AisTraffic ais;
    OwnShip ship;
    std::vector<std::string> nmea, aislines;
    std::deque<AlarmLine> alarms;
    std::int64_t nextalarm = kStart + 40;
    double aisdue = 0;
    double hdop = 0.9;
};

void Generator::Second(std::int64_t t) {
    ship.Step(rng);
    const Civil c = ToCivil(t);
    nmea.clear();
    Navigation(t, c);
    Sensors(t);
    Alarms(t, c);

    aislines.clear();
    for (aisdue += kAisPerSecond; aisdue >= 1.0; aisdue -= 1.0) ais.Message(t, aislines);
    if ((t - kStart) % 30 == 12)
        ais.OwnReport(t, kOwnMmsi, ship.Lat(), ship.Lon(), ship.sog, ship.cog, ship.heading, ship.rot, aislines);

    // The AIS receiver shares the logger with the instrument bus: its sentences fall between.
    const std::size_t aisat = nmea.empty() ? 0 : static_cast<std::size_t>(rng.Int(static_cast<int>(nmea.size())));
    const bool prefixed = (t - kStart) / kPrefixBlock % 4 != 0;
    for (std::size_t k = 0; k <= nmea.size(); ++k) {
        if (k == aisat) {
            for (std::string& a : aislines) {
                if (rng.Chance(kCorruptChance)) Corrupt(a);
                Emit(a);
            }
        }
        if (k == nmea.size()) break;
        std::string& line = nmea[k];
        if (rng.Chance(kCorruptChance)) Corrupt(line);
        if (prefixed) line.insert(0, Prefix(t, static_cast<int>(k)));
        Emit(line);
    }
}

void Generator::Navigation(std::int64_t t, const Civil& c) {
    const std::string hms = Fmt("%02d%02d%02d.00", c.hour, c.minute, c.second);
    char ns = 'N', ew = 'E';
    const std::string lat = Coord(ship.Lat(), false, ns);
    const std::string lon = Coord(ship.Lon(), true, ew);
    const int s = static_cast<int>(t - kStart);
    const bool dgps = (s / 600) % 3 != 0;
    hdop = std::clamp(hdop + rng.Range(-0.02, 0.02), 0.7, 1.4);
    const double alt = 22.4 + rng.Range(-0.6, 0.6);

    nmea.push_back(Sentence('$', Fmt("GPRMC,%s,A,%s,%c,%s,%c,%05.1f,%05.1f,%02d%02d%02d,%.1f,W,%c", hms.c_str(),
                                     lat.c_str(), ns, lon.c_str(), ew, ship.sog, ship.cog, c.day, c.month,
                                     c.year % 100, kVariation, dgps ? 'D' : 'A')));
    nmea.push_back(Sentence('$', Fmt("GPGGA,%s,%s,%c,%s,%c,%d,%02d,%.1f,%.1f,M,41.2,M,%s", hms.c_str(), lat.c_str(),
                                     ns, lon.c_str(), ew, dgps ? 2 : 1, 8 + (s / 97) % 4, hdop, alt,
                                     dgps ? "2.0,0120" : ",")));
    if (s % 2 == 0)
        nmea.push_back(Sentence('$', Fmt("GPGLL,%s,%c,%s,%c,%s,A,%c", lat.c_str(), ns, lon.c_str(), ew, hms.c_str(),
                                         dgps ? 'D' : 'A')));
    nmea.push_back(Sentence('$', Fmt("GPVTG,%05.1f,T,%05.1f,M,%05.1f,N,%05.1f,K,%c", ship.cog,
                                     Wrap360(ship.cog + kVariation), ship.sog, ship.sog * 1.852, dgps ? 'D' : 'A')));
    if (s % 5 == 0) {
        std::string used;
        for (int i = 0; i < 12; ++i) used += i < 8 ? Fmt("%02d,", kSats[i]) : ",";
        nmea.push_back(Sentence('$', Fmt("GPGSA,A,3,%s%.1f,%.1f,%.1f", used.c_str(), hdop * 1.6, hdop, hdop * 1.3)));
    }
    if (s % 2 == 0) {
        for (int part = 0; part < 3; ++part) {
            std::string sats;
            for (int i = part * 4; i < std::min(part * 4 + 4, 11); ++i) {
                const int elev = 10 + (kSats[i] * 7 + s / 300) % 75;
                const int az = (kSats[i] * 33 + s / 120) % 360;
                sats += Fmt(",%02d,%02d,%03d,%02d", kSats[i], elev, az, 30 + (elev / 3 + i) % 20);
            }
            nmea.push_back(Sentence('$', Fmt("GPGSV,3,%d,11%s", part + 1, sats.c_str())));
        }
    }
    if (s % 10 == 0)
        nmea.push_back(
            Sentence('$', Fmt("GPZDA,%s,%02d,%02d,%04d,00,00", hms.c_str(), c.day, c.month, c.year)));
}

void Generator::Sensors(std::int64_t t) {
    const int s = static_cast<int>(t - kStart);
    const double ts = static_cast<double>(s);
    nmea.push_back(Sentence('$', Fmt("HEHDT,%.1f,T", ship.heading)));
    nmea.push_back(Sentence('$', Fmt("HEROT,%.1f,A", ship.rot)));
    nmea.push_back(Sentence('$', Fmt("AGRSA,%.1f,A,%.1f,A", ship.rudder, ship.rudder + rng.Range(-0.3, 0.3))));

    // Wind: true direction and speed drift slowly; the apparent wind adds the ship's own way.
    const double windfrom = 240.0 + 20.0 * std::sin(ts / 1800.0);
    const double windkn = 14.0 + 4.0 * std::sin(ts / 900.0) + rng.Range(-1.0, 1.0);
    const double rel = Wrap360(windfrom - ship.heading);
    const double ax = windkn * std::cos(Rad(rel)) + ship.stw, ay = windkn * std::sin(Rad(rel));
    nmea.push_back(Sentence('$', Fmt("WIMWV,%.1f,R,%.1f,N,A", Wrap360(Deg(std::atan2(ay, ax))), std::hypot(ax, ay))));
    nmea.push_back(Sentence('$', Fmt("WIMWV,%.1f,T,%.1f,N,A", rel, windkn)));

    if (s % 2 == 0) {
        const double depth = 12.0 + 70.0 * (0.5 + 0.5 * std::sin(ship.east * 1.3 + 0.4) * std::cos(ship.north * 0.9)) +
                             rng.Range(-0.3, 0.3);
        nmea.push_back(Sentence('$', Fmt("SDDBT,%.1f,f,%.1f,M,%.1f,F", depth * 3.28084, depth, depth / 1.8288)));
        nmea.push_back(Sentence('$', Fmt("SDDPT,%.1f,0.5,100", depth)));
    } else {
        const double trans = rng.Range(-0.2, 0.2);
        nmea.push_back(Sentence('$', Fmt("VWVHW,%.1f,T,%.1f,M,%.1f,N,%.1f,K", ship.heading,
                                         Wrap360(ship.heading + kVariation), ship.stw, ship.stw * 1.852)));
        nmea.push_back(Sentence('$', Fmt("VWVBW,%.2f,%.2f,A,%.2f,%.2f,A", ship.stw, trans, ship.sog, trans - 0.1)));
    }
    if (s % 10 == 5) nmea.push_back(Sentence('$', Fmt("VWVLW,%.1f,N,%.1f,N", ship.logtotal, ship.logtrip)));
    if (s % 10 == 3) nmea.push_back(Sentence('$', Fmt("YXMTW,%.1f,C", 11.4 + std::sin(ts / 5000.0))));
    if (s % 20 == 7)
        nmea.push_back(Sentence('$', Fmt("PFEC,GPatt,%.1f,%+.1f,%+.1f", ship.heading, rng.Range(-2.0, 2.0),
                                         rng.Range(-4.0, 4.0))));
    if (s % 60 == 31) nmea.push_back(Sentence('$', Fmt("PFEC,GPhve,%.3f,A", rng.Range(-0.8, 0.8))));
}

// Alarm episodes: raised, acknowledged a little later, cleared later still.
void Generator::Alarms(std::int64_t t, const Civil& c) {
    if (t >= nextalarm) {
        const bool aistalker = rng.Chance(0.3);
        const int number = aistalker ? 2 + rng.Int(3) : 10 + rng.Int(40);
        const std::string text = aistalker ? kAisAlarms[rng.Int(static_cast<int>(std::size(kAisAlarms)))]
                                           : kBridgeAlarms[rng.Int(static_cast<int>(std::size(kBridgeAlarms)))];
        const std::string head = Fmt("%sALR,%%s,%03d,", aistalker ? "AI" : "BW", number);
        const std::int64_t ack = t + 5 + rng.Int(20), clear = ack + 20 + rng.Int(120);
        alarms.push_back({t, head + "A,V," + text});
        alarms.push_back({ack, head + "A,A," + text});
        alarms.push_back({clear, aistalker ? head + "V,V,AIS: NORMAL OPERATION" : head + "V,A," + text});
        std::sort(alarms.begin(), alarms.end(), [](const AlarmLine& a, const AlarmLine& b) { return a.at < b.at; });
        nextalarm = t + 240 + rng.Int(660);
    }
    const std::string hms = Fmt("%02d%02d%02d.00", c.hour, c.minute, c.second);
    while (!alarms.empty() && alarms.front().at <= t) {
        const std::string& body = alarms.front().body;
        const std::size_t at = body.find("%s");
        nmea.push_back(Sentence('$', body.substr(0, at) + hms + body.substr(at + 2)));
        alarms.pop_front();
    }
}

// The recorder's own time of the k-th line of second t, in the form of this block of time.
std::string Generator::Prefix(std::int64_t t, int k) const {
    const Civil c = ToCivil(t);
    const int ms = std::min(50 + 30 * k, 999);
    switch ((t - kStart) / kPrefixBlock % 4) {
        case 1:
            return Fmt("[%02d/%02d/%04d %02d:%02d:%02d.%03d] ", c.month, c.day, c.year, c.hour, c.minute, c.second, ms);
        case 2:
            return Fmt("%04d/%02d/%02d %02d:%02d:%02d.%03d,", c.year, c.month, c.day, c.hour, c.minute, c.second, ms);
        default:
            return Fmt("%04d-%02d-%02d,%02d:%02d:%02d.%03d,", c.year, c.month, c.day, c.hour, c.minute, c.second, ms);
    }
}

// One digit of the sentence changed after its checksum was made, as a noisy line does.
void Generator::Corrupt(std::string& line) {
    const std::size_t star = line.rfind('*');
    std::vector<std::size_t> digits;
    for (std::size_t i = 1; i < star && i < line.size(); ++i)
        if (line[i] >= '0' && line[i] <= '9') digits.push_back(i);
    if (digits.empty()) return;
    char& d = line[digits[static_cast<std::size_t>(rng.Int(static_cast<int>(digits.size())))]];
    d = static_cast<char>('0' + (d - '0' + 1 + rng.Int(9)) % 10);
}

}  // namespace

Civil ToCivil(std::int64_t unixsecs) {
    std::int64_t days = unixsecs / 86400, secs = unixsecs % 86400;
    if (secs < 0) secs += 86400, --days;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = static_cast<int>(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp < 10 ? mp + 3 : mp - 9;
    const int y = static_cast<int>(yoe + era * 400) + (m <= 2);
    const int s = static_cast<int>(secs);
    return {y, m, d, s / 3600, s / 60 % 60, s % 60};
}

std::string Sentence(char start, std::string_view body) {
    unsigned x = 0;
    for (char ch : body) x ^= static_cast<unsigned char>(ch);
    std::string s(1, start);
    s += body;
    s += Fmt("*%02X", x);
    return s;
}

bool GenerateLog(const std::string& path, long lines, std::uint64_t seed) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = Generator(f, lines, seed).Run(seed);
    if (std::fclose(f) != 0) ok = false;
    return ok;
}

}  // namespace brenvik::bench
