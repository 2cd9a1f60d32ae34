#include "fuzzentry.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>
#include <vector>

#include "ais/aisassembly.h"
#include "ais/aisdecode.h"
#include "ais/vessels.h"
#include "export/aiswriters.h"
#include "export/csvwriter.h"
#include "export/gpswriter.h"
#include "export/kmlwriter.h"
#include "export/savecommand.h"
#include "export/textfile.h"
#include "model/datetime.h"
#include "openlog.h"
#include "parse/loader.h"
#include "parse/linedispatch.h"
#include "parse/segment.h"
#include "present/report.h"
#include "session.h"
#include "settings/inifile.h"
#include "settings/settingsfile.h"

#ifndef BRENVIK_DATA_DIR
#error "BRENVIK_DATA_DIR names the folder of the lookup tables"
#endif

namespace brenvik::fuzz {
namespace {

// Messages are counted, questions answered Yes, the clock fixed.
class FuzzPlatform : public Platform {
public:
    char decsep = '.';
    int errors = 0;
    void ShowMessage(MsgKind kind, std::string_view, int, bool) override {
        if (kind == MsgKind::Error) ++errors;
    }
    Answer Ask(QuestionKind, std::string_view, int) override { return Answer::Yes; }
    TDateTime NowUTC() override { return *EncodeDate(2026, 12, 9) + 0.5; }
    char DecimalSeparator() const override { return decsep; }
};

// A folder of this process for the input and output files, in memory where the system has
// such a folder: on a disk, replacing a file by renaming makes the file system write it out.
// Removed when the process ends normally, so that runs leave no folders behind.
struct TWorkDir {
    std::filesystem::path path;
    TWorkDir() {
        std::error_code ec;
        const std::filesystem::path shm("/dev/shm");
        const auto base = std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
        path = base / ("brenvik-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~TWorkDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const std::filesystem::path& WorkDir() {
    static const TWorkDir dir;
    return dir.path;
}

std::string WorkFile(std::string_view name) { return (WorkDir() / name).string(); }

// Written with the system calls alone: a file stream's buffer and locale cost more than the
// write of a short input.
std::string WriteInput(std::string_view name, const std::uint8_t* data, std::size_t size) {
    const std::string path = WorkFile(name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        for (std::size_t done = 0; done < size;) {
            const ::ssize_t n = ::write(fd, data + done, size - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
    }
    return path;
}

void SetLookupTables(Session& s) {
    // Built once and shared by every input's registry.
    static const TVhcls prototype = [] {
        std::vector<std::string> mmsi2cc, cc2ctry;
        ReadTextLines(std::string(BRENVIK_DATA_DIR) + "/mmsi2cc.txt", mmsi2cc);
        ReadTextLines(std::string(BRENVIK_DATA_DIR) + "/cc2ctry.txt", cc2ctry);
        TVhcls v;
        v.SetTables(mmsi2cc, cc2ctry);
        return v;
    }();
    s.vehicles.platform = &s.platform;
    s.vehicles.ShareTables(prototype);
}

std::uint64_t InputHash(const std::uint8_t* data, std::size_t size) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// Takes a choice of n from the hash.
std::size_t Pick(std::uint64_t& h, std::uint64_t n) {
    const std::uint64_t v = h % n;
    h /= n;
    return static_cast<std::size_t>(v);
}

// The outputs of a load. Each input runs one of them, picked from its hash, and writes it into
// memory or, one time in eight, as a file with its message: across inputs every output is
// reached both ways, and an input pays for one writer instead of all.
enum class Output { EventsCSV, MarkedCSV, KML, GPS, AISViews, AISPositions, AISVessels, Count };

// Runs `tofile` or, on an in-memory output, `tomemory`; whether the writer succeeded.
template <class ToFile, class ToMemory>
bool Write(bool file, ToFile tofile, ToMemory tomemory) {
    if (file) return tofile();
    static std::string sink;  // its capacity is kept from input to input
    sink.clear();
    TTextOut out(sink);
    const bool good = tomemory(out);
    return out.Close() && good;
}

// Settings from a hash of the input, so that every input also picks its own settings; the
// hash is left with the choices not yet taken.
void PickSettings(Session& s, FuzzPlatform& p, std::uint64_t& h) {
    auto pick = [&](std::uint64_t n) { return Pick(h, n); };
    TSettings& st = s.settings;
    constexpr std::int32_t times[] = {1, 1, 2, 60, 3600, kNever};
    constexpr std::int32_t dists[] = {kNever, kNever, 0, 10, 1000};
    constexpr std::int32_t alarms[] = {kNever, 0, 1, 2};
    st.timethresh = times[pick(std::size(times))];
    st.distthresh = dists[pick(std::size(dists))];
    st.alarmthresh = alarms[pick(std::size(alarms))];
    st.verifychecksum = pick(4) != 0;
    st.ignorevdr = pick(4) == 0;
    st.autoshowvalid = pick(2) == 0;
    st.rotations = pick(2) == 0;
    st.coordformat = "DMSN"[pick(4)];
    st.dateformat = "DMYN"[pick(4)];
    st.parms.hunits = "MKN"[pick(3)];
    st.parms.vunits = "MFT"[pick(3)];
    p.decsep = pick(3) == 0 ? ',' : '.';
    if (pick(3) == 0)  // every field shown
        for (auto& f : s.fields.fields) {
            f.vis = true;
            f.kind = 1;
        }
    s.fields.RebuildShown(st.ignorevdr);
}

// The AIS views: every report, then one vessel's.
void AISViews(Session& s) {
    static_cast<void>(AISGridLines(s));
    static_cast<void>(VesselTableLines(s));
    if (!s.aisevents.empty()) {
        SelectAISVessel(s, s.aisevents[s.aisevents.count() / 2].id);
        static_cast<void>(AISGridLines(s));
        SelectAISVessel(s, -1);
    }
}

// Runs output o of a load, as a file or into memory; false when its writer failed.
bool RunOutput(Session& s, Output o, bool file) {
    const TColumns shown = s.fields.shownfields;
    const std::int32_t count = s.events.count();
    auto csv = [&](const char* name, TEventRange range) {
        return Write(
            file, [&] { return WriteCSV(s, WorkFile(name), shown, range); },
            [&](TTextOut& out) {
                WriteCSVLines(s, out, shown, range);
                return out.ok();
            });
    };
    // The lines of an AIS list into memory: false when the output failed.
    auto aislines = [&](std::int32_t (*write)(const Session&, TTextOut&), TTextOut& out) {
        write(s, out);
        return out.ok();
    };
    switch (o) {
        case Output::EventsCSV: return csv("events.csv", {0, count - 1});
        // A marked range inside the list, when it is long enough to have one.
        case Output::MarkedCSV: return csv("marked.csv", count > 2 ? TEventRange{1, count - 2} : TEventRange{0, count - 1});
        case Output::KML: {
            const std::string kml = WorkFile("events.kml");
            const std::string schema = SchemaName(kml);
            return Write(
                file, [&] { return WriteKML(s, kml, schema, shown); },
                [&](TTextOut& out) { return WriteKMLDocument(s, out, schema, shown); });
        }
        case Output::GPS:
            return Write(
                file, [&] { return WriteGPS(s, WorkFile("events.gps")); },
                [&](TTextOut& out) { return WriteGPSDocument(s, out); });
        case Output::AISViews: AISViews(s); return true;
        case Output::AISPositions:
            return Write(
                file, [&] { return WriteAISPositions(s, WorkFile("pos.csv"), "CSV"); },
                [&](TTextOut& out) { return aislines(WriteAISPositionLines, out); });
        case Output::AISVessels:
            return Write(
                file, [&] { return WriteAISVessels(s, WorkFile("vessels.csv"), "CSV"); },
                [&](TTextOut& out) { return aislines(WriteAISVesselLines, out); });
        case Output::Count: break;
    }
    return false;
}

}  // namespace

std::string FuzzLoad(const std::uint8_t* data, std::size_t size) {
    FuzzPlatform p;
    Session s(p);
    std::uint64_t h = InputHash(data, size);
    PickSettings(s, p, h);
    const auto picked = static_cast<Output>(Pick(h, static_cast<std::uint64_t>(Output::Count)));
    const bool file = Pick(h, 8) == 0;
    SetLookupTables(s);
    const std::string log = WriteInput("input.log", data, size);
    const LoadOutcome outcome = OpenLogFile(s, log);
    if (s.recnumb > linelimit + 1 || s.events.count() > eventlimit) return "capacity exceeded";

    // A completed load has made its report already; a load that stopped is reported too.
    if (outcome != LoadOutcome::Complete) static_cast<void>(SummaryReport(s));
    const int errorsbefore = p.errors;
    if (!RunOutput(s, picked, file) || p.errors != errorsbefore) return "a writer failed";
    return {};
}

std::string FuzzAIS(const std::uint8_t* data, std::size_t size) {
    FuzzPlatform p;
    Session s(p);
    s.settings.verifychecksum = false;  // let mutated sentences through to the assembly
    SetLookupTables(s);
    ResetSegmentation(s);
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++s.recnumb;
        try {
            if (!line.empty() && line[0] == '!')
                ParseLine(s, line);
            else
                DecodeAIS(s, line, "VDM");
        } catch (const ConvertError&) {
            // a line the framer cannot read: the loader would end the load here
        }
        if (s.limithit != 0) break;
    }
    // As for a load, one AIS output per input, into memory or as a file.
    constexpr Output outputs[] = {Output::AISViews, Output::AISPositions, Output::AISVessels};
    std::uint64_t h = InputHash(data, size);
    const Output picked = outputs[Pick(h, std::size(outputs))];
    if (!RunOutput(s, picked, Pick(h, 8) == 0)) return "an AIS writer failed";
    return {};
}

namespace {

// The session that reads the written settings back, kept from input to input with its
// settings and field catalogue set back to the defaults (all that reading settings touches):
// building and tearing down a whole session cost more than a short settings text. The first
// session is built for each input, so its building and tearing down stay covered.
Session& AgainSession() {
    static FuzzPlatform platform;
    static Session s(platform);
    static const TSettings settings;
    static const TFieldCatalogue fields;
    s.settings = settings;
    s.fields = fields;
    return s;
}

}  // namespace

std::string FuzzSettings(const std::uint8_t* data, std::size_t size) {
    FuzzPlatform p1;
    Session first(p1);
    Session& again = AgainSession();
    bool read = false;
    // One input in eight makes the round trip through a real file, the others through the
    // same text in memory, without the file system's cost.
    std::uint64_t h = InputHash(data, size);
    if (Pick(h, 8) == 0) {
        const std::string path = WriteInput("settings.ini", data, size);
        read = ReadSettings(first, path);
        if (!WriteSettings(first, path)) return "the settings file could not be written";
        if (!ReadSettings(again, path)) return "the written settings file does not read back";
    } else {
        // Kept from input to input: loading a text empties a model but keeps its buffers.
        static TIniFile ini, written;
        ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
        read = ReadSettings(first, ini);
        WriteSettings(first, ini);
        written.LoadFromText(ini.ToText());
        if (!ReadSettings(again, written)) return "the written settings text does not read back";
    }
    if (!read) return {};  // a value that stopped the first read may stop the first read only

    const TSettings& a = first.settings;
    const TSettings& b = again.settings;
    auto same = [](const TSettings& x, const TSettings& y) {
        return x.timethresh == y.timethresh && x.distthresh == y.distthresh && x.alarmthresh == y.alarmthresh &&
               x.reopenlast == y.reopenlast && x.verifychecksum == y.verifychecksum && x.ignorevdr == y.ignorevdr &&
               x.autoshowvalid == y.autoshowvalid && x.autowidths == y.autowidths && x.rotations == y.rotations &&
               x.coordformat == y.coordformat && x.dateformat == y.dateformat && x.parms.hunits == y.parms.hunits &&
               x.parms.vunits == y.parms.vunits && x.pagesize == y.pagesize && x.splitterpos == y.splitterpos &&
               x.windowbounds == y.windowbounds && x.recentfiles == y.recentfiles && x.lastfile == y.lastfile &&
               x.lastfolder == y.lastfolder && x.savedext == y.savedext && x.settingsfile == y.settingsfile &&
               x.memomode == y.memomode && x.gridmode == y.gridmode;
    };
    if (!same(a, b)) return "the settings changed in the round trip";
    if (first.fields.fieldorder != again.fields.fieldorder) return "the field order changed in the round trip";
    for (std::size_t i = 0; i < first.fields.fields.size(); ++i) {
        const TFieldState& f = first.fields.fields[i];
        const TFieldState& g = again.fields.fields[i];
        // vis is not stored: reading derives it from kind.
        if (f.head != g.head || f.wdth != g.wdth || f.kind != g.kind || f.ordr != g.ordr)
            return "field " + std::to_string(i) + " changed in the round trip";
    }
    return {};
}

}  // namespace brenvik::fuzz
