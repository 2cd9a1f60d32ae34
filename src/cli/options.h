#pragma once
// Command-line options of brenvik-cli.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brenvik {
class Session;
}

namespace brenvik::cli {

struct CliOptions {
    std::vector<std::string> logfiles;  // one log, or the files (and folders) of a voyage
    bool help = false;
    bool version = false;
    // Outputs, in the order they are printed.
    bool report = false;
    bool corrupt = false;
    bool events = false;
    bool ais = false;
    bool vessels = false;
    bool sources = false;
    bool encounters = false;
    std::string csvfile, kmlfile, gpsfile, aispositionsfile, aisvesselsfile, sourcescsvfile;
    std::string encounterscsvfile, aisrelativefile;
    std::string gpxfile, geojsonfile;
    std::optional<std::pair<std::int32_t, std::int32_t>> marked;  // 1-based rows
    // Settings, applied after the settings file.
    std::string settingsfile;
    std::optional<std::int32_t> timethresh, distthresh, alarmthresh;
    bool nochecksum = false, ignorevdr = false, autoshowvalid = false, rotations = false, nolimits = false;
    std::optional<char> coord, date;
    std::optional<std::pair<char, char>> units;
    std::optional<double> cpalimit;            // nautical miles
    std::optional<std::int32_t> tcpawindow;    // minutes
    std::optional<std::string> fields;  // "all" or a comma list
    std::string lookupdir;

    bool AnyOutput() const {
        return report || corrupt || events || ais || vessels || sources || encounters || !csvfile.empty() ||
               !kmlfile.empty() || !gpsfile.empty() || !aispositionsfile.empty() || !aisvesselsfile.empty() ||
               !sourcescsvfile.empty() || !encounterscsvfile.empty() || !aisrelativefile.empty() ||
               !gpxfile.empty() || !geojsonfile.empty();
    }
};

// Fills `opts` from the arguments; on a usage error returns false with the reason in `error`.
bool ParseArgs(int argc, const char* const* argv, CliOptions& opts, std::string& error);
const char* UsageText();

// False, with the reason in `error`, when an output file is the log itself or the file of
// another output (the same file under any spelling or link).
bool CheckOutputPaths(const CliOptions& opts, std::string& error);

// The flags' settings, applied over whatever the settings file gave.
void ApplyOptions(Session& s, const CliOptions& opts);
// "all": every field shown in the current order. A list: 0, the listed fields in that order,
// then the others ascending; 0 and the listed fields shown, the rest hidden.
bool ApplyFieldList(Session& s, const std::string& fieldlist, std::string& error);

}  // namespace brenvik::cli
