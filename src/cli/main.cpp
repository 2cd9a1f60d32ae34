// brenvik-cli: loads one NMEA log (or the files of a voyage) and prints or writes what Brenvik makes of it.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ais/vessels.h"
#include "cliplatform.h"
#include "export/aiswriters.h"
#include "export/csvwriter.h"
#include "export/encounterscsv.h"
#include "export/geojsonwriter.h"
#include "export/gpswriter.h"
#include "export/gpxwriter.h"
#include "export/kmlwriter.h"
#include "export/savecommand.h"
#include "export/sourcescsv.h"
#include "export/textfile.h"
#include "model/strutil.h"
#include "options.h"
#include "openlog.h"
#include "present/encountertable.h"
#include "present/report.h"
#include "present/sourcestable.h"
#include "session.h"
#include "settings/settingsfile.h"

namespace brenvik::cli {
namespace {

// Text views hold bytes of the log as they were read; standard output gets them as UTF-8,
// like the written files, so that a terminal or a script reading it gets valid text.
void PrintLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out.clear();
        AppendUtf8(out, l);
        out.push_back('\n');
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
}

std::vector<std::string> CorruptView(const Session& s) {
    if (s.corruptrecs.empty()) return {"{No Corrupt lines}"};
    return s.corruptrecs;
}

// The folder of the running program: the lookup tables lie beside it or in ../share/brenvik.
std::string ProgramFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path().string();
}

// The label the writers' messages name: the file's extension in upper case, without its point.
std::string ExtensionLabel(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    return UpperCase(ext.empty() ? ext : ext.substr(1));
}

// A full disk or a closed pipe behind standard output must not pass for success in silence.
int StdoutFailed() {
    std::fputs("brenvik-cli: could not write to standard output\n", stderr);
    return 1;
}

int Usage(const std::string& error) {
    std::fprintf(stderr, "brenvik-cli: %s\n\n%s", error.c_str(), UsageText());
    return 2;
}

int Run(int argc, const char* const* argv) {
    CliOptions opts;
    std::string error;
    if (!ParseArgs(argc, argv, opts, error)) return Usage(error);
    if (opts.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (opts.version) {
        std::fputs("brenvik-cli " BRENVIK_VERSION "\n", stdout);
        return 0;
    }
    if (opts.marked && opts.csvfile.empty() && opts.gpxfile.empty() && opts.geojsonfile.empty())
        return Usage("--marked chooses the rows of --csv, --gpx and --geojson");
    if (!CheckOutputPaths(opts, error)) return Usage(error);

    CliPlatform platform;
    Session s(platform);
    if (!opts.settingsfile.empty()) {
        // A settings file the user names must exist; a missing one would silently mean defaults.
        std::error_code ec;
        if (!std::filesystem::is_regular_file(opts.settingsfile, ec)) {
            s.platform.ShowMessage(MsgKind::Error, "Could not open the settings file:\r\n" + opts.settingsfile);
            return 1;
        }
        // A script must not run on with half of the settings it named: a file that could not
        // be read completely (its message already shown) ends the run before anything is done.
        if (!ReadSettings(s, opts.settingsfile)) return 1;
    }
    ApplyOptions(s, opts);
    if (opts.fields && !ApplyFieldList(s, *opts.fields, error)) return Usage(error);

    if (opts.lookupdir.empty())
        CreateVhcls(s, LookupFolders(ProgramFolder(argv[0])));
    else
        CreateVhcls(s, opts.lookupdir);

    const LoadOutcome outcome = OpenLogFiles(s, opts.logfiles);
    if (outcome != LoadOutcome::Complete) return 1;

    // Rows of the data grid, as "Save Marked NMEA events as.." takes them.
    const TColumns shown(s.fields.shownfields);
    const TEventRange all{0, s.events.count() - 1};
    TEventRange rows = all;
    if (opts.marked) {
        if (opts.marked->second > s.events.count())
            return Usage(Fmt("--marked %d:%d: the log holds %d events", opts.marked->first, opts.marked->second,
                             s.events.count()));
        rows = {opts.marked->first - 1, opts.marked->second - 1};
    }

    const bool report = opts.report || !opts.AnyOutput();
    if (report) PrintLines(SummaryReport(s));
    if (opts.corrupt) PrintLines(CorruptView(s));
    if (opts.events) {
        // The bytes of the CSV file, every event.
        TTextOut out(stdout);
        WriteCSVLines(s, out, shown, all);
        if (!out.Close()) return StdoutFailed();
    }
    if (opts.ais) PrintLines(AISGridLines(s));
    if (opts.vessels) PrintLines(VesselTableLines(s));
    if (opts.sources) {
        if (std::string verdict = SourcesVerdict(s); !verdict.empty()) PrintLines({verdict});
        PrintLines(SourcesTableLines(s));
    }
    if (opts.encounters) PrintLines(EncounterTableLines(s));
    // The writers tell their counts and failures on stderr; a file that could not be written
    // makes the exit status 1, so a script does not take it for done.
    bool written = true;
    if (!opts.csvfile.empty()) written = WriteCSV(s, opts.csvfile, shown, rows) && written;
    if (!opts.kmlfile.empty()) written = WriteKML(s, opts.kmlfile, SchemaName(opts.kmlfile), shown) && written;
    if (!opts.gpsfile.empty()) written = WriteGPS(s, opts.gpsfile) && written;
    if (!opts.aispositionsfile.empty())
        written = WriteAISPositions(s, opts.aispositionsfile, ExtensionLabel(opts.aispositionsfile)) && written;
    if (!opts.aisvesselsfile.empty())
        written = WriteAISVessels(s, opts.aisvesselsfile, ExtensionLabel(opts.aisvesselsfile)) && written;
    if (!opts.sourcescsvfile.empty()) written = WriteSourcesCSV(s, opts.sourcescsvfile) && written;
    if (!opts.encounterscsvfile.empty()) written = WriteEncountersCSV(s, opts.encounterscsvfile) && written;
    if (!opts.aisrelativefile.empty()) written = WriteAISRelative(s, opts.aisrelativefile) && written;
    if (!opts.gpxfile.empty()) written = WriteGPX(s, opts.gpxfile, rows) && written;
    if (!opts.geojsonfile.empty()) written = WriteGeoJSON(s, opts.geojsonfile, shown, rows) && written;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return StdoutFailed();
    return written ? 0 : 1;
}

}  // namespace
}  // namespace brenvik::cli

int main(int argc, char** argv) { return brenvik::cli::Run(argc, argv); }
