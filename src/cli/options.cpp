#include "options.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "model/strutil.h"
#include "session.h"

namespace brenvik::cli {
namespace {

bool ParseThreshold(std::string_view text, std::optional<std::int32_t>& out) {
    if (text == "never") {
        out = kNever;
        return true;
    }
    auto v = ParseInt(text);
    if (!v || *v < 0) return false;
    out = *v;
    return true;
}

bool OneLetter(std::string_view text, std::string_view allowed, std::optional<char>& out) {
    if (text.size() != 1 || allowed.find(text[0]) == std::string_view::npos) return false;
    out = text[0];
    return true;
}

bool ParseMarked(std::string_view text, CliOptions& o) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    auto a = ParseInt(text.substr(0, colon));
    auto b = ParseInt(text.substr(colon + 1));
    if (!a || !b || *a < 1 || *b < *a) return false;
    o.marked = std::make_pair(*a, *b);
    return true;
}

bool CheckFieldList(std::string_view text) {
    if (text == "all") return true;
    std::string_view rest = text, item;
    while (!rest.empty()) {
        PopField(rest, item);
        auto n = ParseInt(item);
        if (!n || *n < 0 || *n > 22) return false;
    }
    return !text.empty();
}

// One record per option: name, whether it takes a value, and what it does with it.
struct OptionDef {
    std::string_view name;
    bool takesvalue;
    bool (*apply)(CliOptions&, std::string_view);
};

constexpr std::array optiondefs{
    OptionDef{"--help", false, [](CliOptions& o, std::string_view) { return o.help = true; }},
    OptionDef{"--version", false, [](CliOptions& o, std::string_view) { return o.version = true; }},
    OptionDef{"--report", false, [](CliOptions& o, std::string_view) { return o.report = true; }},
    OptionDef{"--corrupt", false, [](CliOptions& o, std::string_view) { return o.corrupt = true; }},
    OptionDef{"--events", false, [](CliOptions& o, std::string_view) { return o.events = true; }},
    OptionDef{"--ais", false, [](CliOptions& o, std::string_view) { return o.ais = true; }},
    OptionDef{"--vessels", false, [](CliOptions& o, std::string_view) { return o.vessels = true; }},
    OptionDef{"--sources", false, [](CliOptions& o, std::string_view) { return o.sources = true; }},
    OptionDef{"--encounters", false, [](CliOptions& o, std::string_view) { return o.encounters = true; }},
    OptionDef{"--csv", true, [](CliOptions& o, std::string_view v) { o.csvfile = v; return !v.empty(); }},
    OptionDef{"--kml", true, [](CliOptions& o, std::string_view v) { o.kmlfile = v; return !v.empty(); }},
    OptionDef{"--gps", true, [](CliOptions& o, std::string_view v) { o.gpsfile = v; return !v.empty(); }},
    OptionDef{"--ais-positions", true,
              [](CliOptions& o, std::string_view v) { o.aispositionsfile = v; return !v.empty(); }},
    OptionDef{"--ais-vessels", true,
              [](CliOptions& o, std::string_view v) { o.aisvesselsfile = v; return !v.empty(); }},
    OptionDef{"--sources-csv", true,
              [](CliOptions& o, std::string_view v) { o.sourcescsvfile = v; return !v.empty(); }},
    OptionDef{"--encounters-csv", true,
              [](CliOptions& o, std::string_view v) { o.encounterscsvfile = v; return !v.empty(); }},
    OptionDef{"--ais-relative", true,
              [](CliOptions& o, std::string_view v) { o.aisrelativefile = v; return !v.empty(); }},
    OptionDef{"--cpa-limit", true,
              [](CliOptions& o, std::string_view v) {
                  const auto nm = ParseDecimal(v);
                  if (!nm || *nm < 0 || *nm > 1000) return false;
                  o.cpalimit = *nm;
                  return true;
              }},
    OptionDef{"--tcpa-window", true,
              [](CliOptions& o, std::string_view v) {
                  const auto minutes = ParseInt(v);
                  if (!minutes || *minutes < 0 || *minutes > 100000) return false;
                  o.tcpawindow = *minutes;
                  return true;
              }},
    OptionDef{"--gpx", true, [](CliOptions& o, std::string_view v) { o.gpxfile = v; return !v.empty(); }},
    OptionDef{"--geojson", true, [](CliOptions& o, std::string_view v) { o.geojsonfile = v; return !v.empty(); }},
    OptionDef{"--marked", true, [](CliOptions& o, std::string_view v) { return ParseMarked(v, o); }},
    OptionDef{"--settings", true,
              [](CliOptions& o, std::string_view v) { o.settingsfile = v; return !v.empty(); }},
    OptionDef{"--time-threshold", true,
              [](CliOptions& o, std::string_view v) { return ParseThreshold(v, o.timethresh); }},
    OptionDef{"--dist-threshold", true,
              [](CliOptions& o, std::string_view v) { return ParseThreshold(v, o.distthresh); }},
    OptionDef{"--alarm-threshold", true,
              [](CliOptions& o, std::string_view v) { return ParseThreshold(v, o.alarmthresh); }},
    OptionDef{"--no-checksum", false, [](CliOptions& o, std::string_view) { return o.nochecksum = true; }},
    OptionDef{"--ignore-vdr", false, [](CliOptions& o, std::string_view) { return o.ignorevdr = true; }},
    OptionDef{"--auto-show-valid", false,
              [](CliOptions& o, std::string_view) { return o.autoshowvalid = true; }},
    OptionDef{"--no-limits", false, [](CliOptions& o, std::string_view) { return o.nolimits = true; }},
    OptionDef{"--rotations", false, [](CliOptions& o, std::string_view) { return o.rotations = true; }},
    OptionDef{"--coord", true, [](CliOptions& o, std::string_view v) { return OneLetter(v, "DMSN", o.coord); }},
    OptionDef{"--date", true, [](CliOptions& o, std::string_view v) { return OneLetter(v, "DMYN", o.date); }},
    OptionDef{"--units", true,
              [](CliOptions& o, std::string_view v) {
                  if (v.size() != 2 || std::string_view("MKN").find(v[0]) == std::string_view::npos ||
                      std::string_view("MFT").find(v[1]) == std::string_view::npos)
                      return false;
                  o.units = std::make_pair(v[0], v[1]);
                  return true;
              }},
    OptionDef{"--fields", true,
              [](CliOptions& o, std::string_view v) {
                  o.fields = std::string(v);
                  return CheckFieldList(v);
              }},
    OptionDef{"--lookup", true, [](CliOptions& o, std::string_view v) { o.lookupdir = v; return !v.empty(); }},
};

}  // namespace

const char* UsageText() {
    return "Usage: brenvik-cli [options] LOGFILE...\n"
           "Reads an NMEA 0183 log and prints what Brenvik makes of it. Several files, or a\n"
           "folder (its *.txt, *.log and *.nmea files), are read as one voyage, in the order of\n"
           "their first times, with line numbers running on.\n"
           "\n"
           "Outputs (the report when none is asked for):\n"
           "  --report               summary report, as the text panel shows it\n"
           "  --corrupt              the corrupt lines (\"{No Corrupt lines}\" when there are none)\n"
           "  --events               the NMEA events as CSV on stdout\n"
           "  --ais                  the AIS grid: headings, then one line per report, TAB-separated\n"
           "  --vessels              the vessel table\n"
           "  --sources              what each talker and sentence sent, and the clocks, with a\n"
           "                         one-line verdict first when something is wrong\n"
           "  --encounters           how close every vessel came: closest approach, its time, and\n"
           "                         what the last report before it predicted\n"
           "  --csv FILE             write the events as CSV\n"
           "  --kml FILE             write events and vessel tracks as KML\n"
           "  --gps FILE             write events, vessels and tracks as a GPS text file\n"
           "  --ais-positions FILE   write the AIS position reports as CSV\n"
           "  --ais-vessels FILE     write the vessels' static data as CSV\n"
           "  --sources-csv FILE     write the sources table as CSV\n"
           "  --encounters-csv FILE  write the encounter table as CSV\n"
           "  --ais-relative FILE    per AIS position report (the rows of --ais-positions): reception\n"
           "                         time, distance, bearing, CPA, TCPA, closing speed, as CSV\n"
           "  --gpx FILE             write the own track, alarms and vessel tracks as GPX 1.1, UTC times\n"
           "  --geojson FILE         write the own track, events and vessel tracks as GeoJSON\n"
           "  --marked FIRST:LAST    rows (1-based) written by --csv, --gpx and --geojson\n"
           "\n"
           "Settings (defaults, then --settings, then these flags):\n"
           "  --settings FILE        read a settings file first\n"
           "  --time-threshold N|never   --dist-threshold N|never   --alarm-threshold N|never\n"
           "  --no-checksum  --ignore-vdr  --auto-show-valid  --rotations\n"
           "  --no-limits            read files of any size (no line, event or AIS limits)\n"
           "  --coord D|M|S|N        degrees, degs mins, degs mins secs, NMEA\n"
           "  --date D|M|Y|N         day/month/year, month/day/year, year/month/day, numeric\n"
           "  --units HV             horizontal M|K|N and vertical M|F|T, e.g. NF\n"
           "  --cpa-limit NM         encounters closer than this are flagged (default 0.5)\n"
           "  --tcpa-window MIN      and those predicted so within this many minutes (default 20)\n"
           "  --fields all|LIST      all fields, or field numbers shown after field 0, in order\n"
           "  --lookup DIR           folder of mmsi2cc.txt and cc2ctry.txt\n"
           "  --help                 this text\n"
           "  --version              the program's name and version\n"
           "\n"
           "Exit status: 0 loaded (and every file written), 1 the log or the settings file could not\n"
           "be read completely, or an output could not be written, 2 bad usage (an output file that\n"
           "is the log or another output's file included).\n";
}

namespace {

// Two paths name one file: the same file when both exist (links and spellings alike), else
// the same place once the existing part of each is resolved.
bool SameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code ea, eb;
    if (fs::exists(a, ea) && fs::exists(b, eb)) {
        std::error_code ec;
        return fs::equivalent(a, b, ec);
    }
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ea), ea);
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, eb), eb);
    return !ea && !eb ? ca == cb : a == b;
}

}  // namespace

bool CheckOutputPaths(const CliOptions& o, std::string& error) {
    const std::pair<const char*, const std::string*> outputs[] = {
        {"--csv", &o.csvfile},
        {"--kml", &o.kmlfile},
        {"--gps", &o.gpsfile},
        {"--ais-positions", &o.aispositionsfile},
        {"--ais-vessels", &o.aisvesselsfile},
        {"--sources-csv", &o.sourcescsvfile},
        {"--encounters-csv", &o.encounterscsvfile},
        {"--ais-relative", &o.aisrelativefile},
        {"--gpx", &o.gpxfile},
        {"--geojson", &o.geojsonfile},
    };
    for (std::size_t i = 0; i < std::size(outputs); ++i) {
        const auto& [name, path] = outputs[i];
        if (path->empty()) continue;
        for (const std::string& log : o.logfiles)
            if (SameFile(*path, log)) {
                error = std::string(name) + " " + *path + ": that is the log file itself";
                return false;
            }
        for (std::size_t j = 0; j < i; ++j) {
            const auto& [other, otherpath] = outputs[j];
            if (!otherpath->empty() && SameFile(*path, *otherpath)) {
                error = std::string(name) + " " + *path + ": the same file as " + other;
                return false;
            }
        }
    }
    return true;
}

bool ParseArgs(int argc, const char* const* argv, CliOptions& opts, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.size() > 1 && arg[0] == '-') {
            std::string_view name = arg, value;
            bool inlinevalue = false;
            if (auto eq = arg.find('='); eq != std::string_view::npos) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
                inlinevalue = true;
            }
            if (name == "-h") name = "--help";
            const auto def = std::find_if(optiondefs.begin(), optiondefs.end(),
                                          [&](const OptionDef& d) { return d.name == name; });
            if (def == optiondefs.end()) {
                error = "unknown option " + std::string(arg);
                return false;
            }
            if (def->takesvalue && !inlinevalue) {
                if (i + 1 >= argc) {
                    error = std::string(name) + " needs a value";
                    return false;
                }
                value = argv[++i];
            } else if (!def->takesvalue && inlinevalue) {
                error = std::string(name) + " takes no value";
                return false;
            }
            if (!def->apply(opts, value)) {
                error = "bad value for " + std::string(name) + ": " + std::string(value);
                return false;
            }
        } else {
            opts.logfiles.emplace_back(arg);
        }
    }
    if (!opts.help && !opts.version && opts.logfiles.empty()) {
        error = "no log file given";
        return false;
    }
    return true;
}

bool ApplyFieldList(Session& s, const std::string& fieldlist, std::string& error) {
    TFieldCatalogue& c = s.fields;
    if (fieldlist == "all") {
        for (auto& f : c.fields) {
            f.vis = true;
            f.kind = 1;
        }
        return true;
    }
    std::vector<int> order{0};
    std::string_view rest = fieldlist, item;
    while (!rest.empty()) {
        PopField(rest, item);
        auto n = ParseInt(item);
        if (!n || *n < 0 || *n >= kEventFieldCount) {
            error = "bad field number " + std::string(item);
            return false;
        }
        if (std::find(order.begin(), order.end(), *n) == order.end()) order.push_back(*n);
    }
    const std::size_t listed = order.size();
    for (int n = 1; n < kEventFieldCount; ++n)
        if (std::find(order.begin(), order.end(), n) == order.end()) order.push_back(n);
    for (std::size_t p = 0; p < order.size(); ++p) {
        TFieldState& f = c.fields[static_cast<std::size_t>(order[p])];
        f.vis = p < listed;
        f.kind = p < listed ? 1 : 0;
        c.fieldorder[p] = order[p];
    }
    return true;
}

void ApplyOptions(Session& s, const CliOptions& o) {
    TSettings& st = s.settings;
    if (o.timethresh) st.timethresh = *o.timethresh;
    if (o.distthresh) st.distthresh = *o.distthresh;
    if (o.alarmthresh) st.alarmthresh = *o.alarmthresh;
    if (o.nochecksum) st.verifychecksum = false;
    if (o.ignorevdr) st.ignorevdr = true;
    if (o.autoshowvalid) st.autoshowvalid = true;
    if (o.rotations) st.rotations = true;
    if (o.nolimits) st.nolimits = true;
    if (o.coord) st.coordformat = *o.coord;
    if (o.date) st.dateformat = *o.date;
    if (o.cpalimit) st.cpalimit = *o.cpalimit * 1852;
    if (o.tcpawindow) st.tcpawindow = *o.tcpawindow * 60;
    if (o.units) {
        st.parms.hunits = o.units->first;
        st.parms.vunits = o.units->second;
    }
}

}  // namespace brenvik::cli
