#pragma once
// The program's settings: one record, read from and written to the settings file.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brenvik {

constexpr std::int32_t kNever = 2147483647;  // a threshold that never cuts

// Display units: hunits M metres, K kilometres, N nautical; vunits M metres, F feet, T fathoms.
struct Tparms {
    char hunits = 'M';
    char vunits = 'M';
};

struct TSettings {
    std::int32_t timethresh = 1;
    std::int32_t distthresh = kNever;
    std::int32_t alarmthresh = kNever;
    bool reopenlast = false;
    bool verifychecksum = true;
    bool ignorevdr = false;
    bool autoshowvalid = false;
    bool autowidths = false;
    bool nolimits = false;  // read files of any size: no line, event, AIS report or vessel capacity
    char coordformat = 'D';  // D degrees, M degs mins, S degs mins secs, N NMEA
    char dateformat = 'D';   // D day/month/year, M month/day/year, Y year/month/day, N numeric
    bool rotations = false;
    Tparms parms;
    std::int32_t pagesize = 200;
    // Encounters: a vessel is flagged when it comes closer than cpalimit (metres; 0.5 nautical
    // miles) or is predicted to within tcpawindow (seconds; 20 minutes).
    double cpalimit = 926;
    std::int32_t tcpawindow = 1200;
    char memomode = 'R';  // R report, S source, C corrupt lines, V vessels
    char gridmode = 'N';  // N NMEA, A AIS, B both
    std::int32_t splitterpos = 120;
    std::array<std::int32_t, 4> windowbounds{200, 80, 1160, 800};
    std::string lastfile;
    std::string lastfolder;
    std::vector<std::string> recentfiles;  // newest first, at most 10
    std::string savedext = ".csv";
    std::string settingsfile;
    std::string inifile;
};

}  // namespace brenvik
