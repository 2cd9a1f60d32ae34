#include "settings/settingsfile.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "model/logfiles.h"
#include "model/strutil.h"
#include "session.h"
#include "settings/inifile.h"

namespace brenvik {

namespace {

// File layout:
//   [FILES]   lastfile, settings, SavedExt, File00..File09 (newest first)
//   [GENERAL] GenModes (reopen R, checksum C, ignore VDR Y, auto show Y, auto widths Y),
//             MGmodes (memo mode, grid mode; read only), Formats (coords, dates, R rotations),
//             units (horizontal, vertical), pagesize, NoLimits (Y: no capacities)
//   [WPARMS]  Splitter, Bounds (left,top,right,bottom)
//   [FLDDEF]  Fielddef000..Fielddef022: comma text head,width,kind,order
//   [GRID]    fields: the display order
//   [EVENTS]  Thresholds: comma text time,distance,alarm; CPALimit (nautical miles) and
//             TCPAWindow (minutes) of the encounters, defaults when absent or not numbers
constexpr std::string_view kFiles = "FILES";
constexpr std::string_view kGeneral = "GENERAL";
constexpr std::string_view kWparms = "WPARMS";
constexpr std::string_view kFlddef = "FLDDEF";
constexpr std::string_view kGrid = "GRID";
constexpr std::string_view kEvents = "EVENTS";

constexpr int kRecentMax = 10;
constexpr std::int32_t kMinSplitter = 96;

void ShowReadFailure(Session& s, const std::string& path) {
    s.platform.ShowMessage(MsgKind::Error, "Unable to read the settings file:\r\n" + path);
}

void ShowWriteFailure(Session& s, const std::string& path) {
    s.platform.ShowMessage(MsgKind::Error, "Unable to write the settings file:\r\n" + path);
}

// An item that must be an integer; when it is not, that is reported and reading stops.
bool ReadInt(Session& s, std::string_view text, std::int32_t& v) {
    text = Trim(text);
    if (auto r = ParseInt(text)) {
        v = *r;
        return true;
    }
    s.platform.ShowMessage(MsgKind::Error, "'" + std::string(text) + "' is not a valid integer value");
    return false;
}

// The value of a key, or def when the file lacks it: a view into the model, not a copy (the
// settings are read from a model that does not change meanwhile).
std::string_view Value(const TIniFile& ini, std::string_view section, std::string_view key, std::string_view def) {
    return ini.Find(section, key).value_or(def);
}

std::int32_t IntOr(std::string_view text, std::int32_t def) { return ParseInt(Trim(text)).value_or(def); }

// A run of letter codes. Codes are never blanks or control characters, so the run ends at the
// first of them: what follows could not survive the trimming of a written line.
std::string_view Letters(const TIniFile& ini, std::string_view key, std::string_view def) {
    const std::string_view v = Value(ini, kGeneral, key, def);
    const auto end = std::find_if(v.begin(), v.end(), [](char c) { return static_cast<unsigned char>(c) <= 32; });
    return v.substr(0, static_cast<std::size_t>(end - v.begin()));
}

// The letter at position i, or a blank (no letter) past the end.
char LetterAt(std::string_view v, std::size_t i) { return i < v.size() ? v[i] : ' '; }

char Flag(bool on, char letter) { return on ? letter : 'N'; }

std::string FolderOf(const std::string& path) {
#ifdef _WIN32
    const std::size_t sep = path.find_last_of("\\/:");
#else
    const std::size_t sep = path.rfind('/');
#endif
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

// The key of recent file i (0 to 9), built by hand as the field keys are.
std::string RecentKey(std::size_t i) {
    if (i > 99) return Fmt("File%2.2zu", i);
    std::string key = "File00";
    key[4] = static_cast<char>('0' + i / 10);
    key[5] = static_cast<char>('0' + i % 10);
    return key;
}

// Built by hand, not through printf: it is made for every field whenever settings are read
// or written.
std::string FieldKey(int n) {
    if (n < 0 || n > 999) return Fmt("Fielddef%3.3d", n);
    std::string key = "Fielddef000";
    key[8] = static_cast<char>('0' + n / 100);
    key[9] = static_cast<char>('0' + n / 10 % 10);
    key[10] = static_cast<char>('0' + n % 10);
    return key;
}

void ReadFiles(TSettings& st, const TIniFile& ini) {
    st.settingsfile = Value(ini, kFiles, "settings", "");
    st.savedext = Value(ini, kFiles, "SavedExt", ".csv");
    if (st.savedext.empty()) st.savedext = ".csv";
    st.recentfiles.clear();
    for (std::size_t i = 0; i < kRecentMax; ++i) {
        const std::string_view f = Value(ini, kFiles, RecentKey(i), "");
        // A list with a hole keeps its old tail entries in the file after a write: a path
        // already listed is not listed twice.
        if (!f.empty() && std::find(st.recentfiles.begin(), st.recentfiles.end(), f) == st.recentfiles.end())
            st.recentfiles.emplace_back(f);
    }
    st.lastfile = st.recentfiles.empty() ? std::string() : st.recentfiles.front();
    st.lastfolder = FolderOf(EntryFirstPath(st.lastfile));
}

void ReadModes(TSettings& st, const TIniFile& ini) {
    // Missing letters read as N (off).
    const std::string_view gen = Letters(ini, "GenModes", "NCNNN");
    st.reopenlast = LetterAt(gen, 0) == 'R';
    st.verifychecksum = LetterAt(gen, 1) == 'C';
    st.ignorevdr = LetterAt(gen, 2) == 'Y';
    st.autoshowvalid = LetterAt(gen, 3) == 'Y';
    st.autowidths = LetterAt(gen, 4) == 'Y';

    std::string_view mg = Letters(ini, "MGmodes", "RN");
    if (mg.size() < 2) mg = "RN";
    st.memomode = mg[0];
    st.gridmode = mg[1];

    std::string_view fmt = Letters(ini, "Formats", "DDN");
    if (fmt.empty()) fmt = "DDN";
    st.coordformat = fmt[0];
    st.dateformat = LetterAt(fmt, 1);
    st.rotations = LetterAt(fmt, 2) == 'R';

    std::string_view units = Letters(ini, "units", "MM");
    if (units.size() < 2) units = "MM";
    st.parms.hunits = units[0];
    st.parms.vunits = units[1];

    st.pagesize = IntOr(Value(ini, kGeneral, "pagesize", "200"), 200);
    // Files written before the key existed read as off: the capacities stay.
    st.nolimits = LetterAt(Letters(ini, "NoLimits", "N"), 0) == 'Y';
    st.splitterpos = std::max(IntOr(Value(ini, kWparms, "Splitter", "120"), 120), kMinSplitter);
}

bool ReadBounds(Session& s, const TIniFile& ini) {
    std::string_view rest = Value(ini, kWparms, "Bounds", "200,80,1160,800");
    std::array<std::int32_t, 4> b{};
    for (std::int32_t& v : b) {
        std::string_view item;
        PopField(rest, item);
        if (!ReadInt(s, item, v)) return false;
    }
    s.settings.windowbounds = b;
    return true;
}

// The items of one field's entry, kept for all fields of one read; room for the four items
// of an entry from the start.
struct TFieldItems {
    TFieldItems() { items.reserve(8); }
    std::vector<std::string_view> items;
    std::string arena;
};

// The stored head, width, kind and order of field n, unless its entry is absent.
bool ReadFieldDef(Session& s, const TIniFile& ini, int n, TFieldItems& split) {
    const std::optional<std::string_view> text = ini.Find(kFlddef, FieldKey(n));
    if (!text || *text == "*") return true;
    SplitCommaText(*text, split.items, split.arena);
    const std::vector<std::string_view>& items = split.items;
    auto item = [&](std::size_t i) -> std::string_view { return i < items.size() ? items[i] : std::string_view(); };
    std::int32_t wdth = 0, kind = 0, ordr = 0;
    if (!ReadInt(s, item(1), wdth) || !ReadInt(s, item(2), kind) || !ReadInt(s, item(3), ordr)) return false;
    TFieldState& f = s.fields.fields[static_cast<std::size_t>(n)];
    f.head = item(0);
    f.wdth = wdth;
    // Out-of-range kinds still mean "hidden and not offered".
    f.kind = static_cast<std::uint8_t>((kind < 0 || kind > 255) ? 255 : kind);
    f.ordr = static_cast<std::uint16_t>(std::clamp(ordr, 0, 65535));
    f.vis = kind == 1;
    return true;
}

// Positions take the listed field numbers in turn; numbers that are no field and items past
// the 23rd position are ignored. The positions after the list hold their own number.
bool ReadFieldOrder(Session& s, const TIniFile& ini) {
    std::string_view rest = Value(ini, kGrid, "fields", "0,1,2,3");
    auto& order = s.fields.fieldorder;
    TFieldItems split;
    std::size_t pos = 0;
    while (!rest.empty() && pos < order.size()) {
        std::string_view item;
        PopField(rest, item);
        std::int32_t n = 0;
        if (!ReadInt(s, item, n)) return false;
        if (n < 0 || n >= kEventFieldCount) continue;
        order[pos++] = n;
        if (!ReadFieldDef(s, ini, n, split)) return false;
    }
    for (; pos < order.size(); ++pos) order[pos] = static_cast<int>(pos);
    return true;
}

bool ReadThresholds(Session& s, const TIniFile& ini) {
    TFieldItems split;
    SplitCommaText(Value(ini, kEvents, "Thresholds", "1,2147483647,2147483647"), split.items, split.arena);
    const std::vector<std::string_view>& items = split.items;
    std::int32_t* targets[] = {&s.settings.timethresh, &s.settings.distthresh, &s.settings.alarmthresh};
    for (std::size_t i = 0; i < std::size(targets); ++i)
        if (!ReadInt(s, i < items.size() ? items[i] : std::string_view(), *targets[i])) return false;
    return true;
}

// The encounter limits: files from before them lack the keys and read as the defaults.
void ReadEncounterLimits(TSettings& st, const TIniFile& ini) {
    const auto nm = ParseDecimal(Trim(Value(ini, kEvents, "CPALimit", "0.5")));
    st.cpalimit = nm && *nm >= 0 && *nm <= 1000 ? *nm * 1852 : 926;
    const auto minutes = ParseInt(Trim(Value(ini, kEvents, "TCPAWindow", "20")));
    st.tcpawindow = minutes && *minutes >= 0 && *minutes <= 100000 ? *minutes * 60 : 1200;
}

void WriteFieldDefs(const TFieldCatalogue& cat, TIniFile& ini) {
    // The order of 23 fields, and one field's items and their comma text, reused from field to
    // field; room for all from the start.
    std::string order;
    order.reserve(4 * kEventFieldCount);
    std::vector<std::string_view> items(4);
    std::string def;
    def.reserve(64);
    for (std::size_t p = 0; p < cat.fieldorder.size(); ++p) {
        const int n = cat.fieldorder[p];
        if (p > 0) order += ',';
        order += std::to_string(n);
        if (n < 0 || n >= kEventFieldCount) continue;
        const TFieldState& f = cat.fields[static_cast<std::size_t>(n)];
        const std::string wdth = std::to_string(f.wdth), kind = std::to_string(f.kind), ordr = std::to_string(f.ordr);
        items[0] = f.head;
        items[1] = wdth;
        items[2] = kind;
        items[3] = ordr;
        def.clear();
        AppendCommaText(def, items);
        ini.WriteString(kFlddef, FieldKey(n), def);
    }
    ini.WriteString(kGrid, "fields", order);
}

void WriteAll(const Session& s, TIniFile& ini) {
    const TSettings& st = s.settings;
    ini.WriteString(kFiles, "lastfile", st.lastfile);
    ini.WriteString(kFiles, "settings", st.settingsfile);
    ini.WriteString(kFiles, "SavedExt", st.savedext);
    const std::size_t recent = std::min(st.recentfiles.size(), static_cast<std::size_t>(kRecentMax));
    for (std::size_t i = 0; i < recent; ++i)
        ini.WriteString(kFiles, RecentKey(i), st.recentfiles[i]);

    ini.WriteString(kGeneral, "GenModes",
                    std::string{Flag(st.reopenlast, 'R'), Flag(st.verifychecksum, 'C'), Flag(st.ignorevdr, 'Y'),
                                Flag(st.autoshowvalid, 'Y'), Flag(st.autowidths, 'Y')});
    ini.WriteString(kGeneral, "Formats", std::string{st.coordformat, st.dateformat, Flag(st.rotations, 'R')});
    ini.WriteString(kGeneral, "units", std::string{st.parms.hunits, st.parms.vunits});
    ini.WriteString(kGeneral, "pagesize", std::to_string(st.pagesize));
    ini.WriteString(kGeneral, "NoLimits", std::string{Flag(st.nolimits, 'Y')});

    ini.WriteString(kWparms, "Splitter", std::to_string(st.splitterpos));
    const auto& b = st.windowbounds;
    ini.WriteString(kWparms, "Bounds",
                    std::to_string(b[0]) + ',' + std::to_string(b[1]) + ',' + std::to_string(b[2]) + ',' +
                        std::to_string(b[3]));

    WriteFieldDefs(s.fields, ini);

    // Numbers are never quoted: the three joined by commas are their comma text.
    ini.WriteString(kEvents, "Thresholds",
                    std::to_string(st.timethresh) + ',' + std::to_string(st.distthresh) + ',' +
                        std::to_string(st.alarmthresh));
    ini.WriteString(kEvents, "CPALimit", std::string(Trim(GeneralNumber(st.cpalimit / 1852, 0, 6))));
    ini.WriteString(kEvents, "TCPAWindow", std::to_string(st.tcpawindow / 60));
}

}  // namespace

bool ReadSettings(Session& s, const TIniFile& ini) {
    ReadFiles(s.settings, ini);
    ReadModes(s.settings, ini);
    ReadEncounterLimits(s.settings, ini);
    return ReadBounds(s, ini) && ReadFieldOrder(s, ini) && ReadThresholds(s, ini);
}

void WriteSettings(const Session& s, TIniFile& ini) { WriteAll(s, ini); }

bool InitSettingsFile(Session& s, const std::string& datafolder) {
    s.settings.inifile = (std::filesystem::path(datafolder) / "brenv.ini").string();
    std::error_code ec;
    const auto st = std::filesystem::symlink_status(s.settings.inifile, ec);
    if (st.type() != std::filesystem::file_type::not_found) return true;
    // A folder that takes no file is reported once, at close, when the settings are not saved.
    std::ofstream out(s.settings.inifile, std::ios::binary);
    return static_cast<bool>(out);
}

bool ReadSettings(Session& s, const std::string& path) {
    TIniFile ini;
    if (ini.LoadFromFile(path) == TIniFile::LoadResult::Failed) {
        ShowReadFailure(s, path);
        return false;
    }
    return ReadSettings(s, ini);
}

bool ReadStartupSettings(Session& s) {
    const std::string& path = s.settings.inifile;
    TIniFile ini;
    switch (ini.LoadFromFile(path)) {
        case TIniFile::LoadResult::Failed:
            ShowReadFailure(s, path);
            return false;
        case TIniFile::LoadResult::Damaged: {
            // Put aside, so that the close writes a new file instead of keeping the damage in it.
            const std::string kept = path + ".broken";
            std::error_code ec;
            std::filesystem::rename(path, kept, ec);
            s.platform.ShowMessage(MsgKind::Warning,
                                   "The settings file is damaged and was not read:\r\n" + path +
                                       (ec ? std::string("\r\nThe default settings are used.")
                                           : "\r\nThe default settings are used; the damaged file is kept as:\r\n" + kept));
            return false;
        }
        default: return ReadSettings(s, ini);
    }
}

bool WriteSettings(Session& s, const std::string& path) {
    // Whatever else the file holds is kept, so an unreadable file is not overwritten.
    TIniFile ini;
    if (ini.LoadFromFile(path) == TIniFile::LoadResult::Failed) {
        ShowWriteFailure(s, path);
        return false;
    }
    WriteAll(s, ini);
    if (!ini.SaveToFile(path)) {
        ShowWriteFailure(s, path);
        return false;
    }
    return true;
}

}  // namespace brenvik
