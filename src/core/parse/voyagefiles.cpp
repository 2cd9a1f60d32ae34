#include "parse/voyagefiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/strutil.h"
#include "parse/linedispatch.h"
#include "parse/linereader.h"
#include "parse/segment.h"
#include "session.h"

namespace brenvik {
namespace {

// Lines read from the start of a file to find its first time: a recorder writes one within
// its first lines; a file that has none so far is taken as having none.
constexpr std::int32_t kScanLines = 20000;

// The session's clock and year, without any message: the real load shows those.
class QuietPlatform : public Platform {
public:
    explicit QuietPlatform(Platform& real) : real_(real) {}
    void ShowMessage(MsgKind, std::string_view, int, bool) override {}
    Answer Ask(QuestionKind, std::string_view, int) override { return Answer::No; }
    TDateTime NowUTC() override { return real_.NowUTC(); }

private:
    Platform& real_;
};

bool IsLogName(const std::filesystem::path& p) {
    const std::string ext = UpperCase(p.extension().string());
    return ext == ".TXT" || ext == ".LOG" || ext == ".NMEA";
}

// The first time the file's lines give, and whether it is a recorder time: a session of its
// own, as if the file were loaded alone.
bool ScanFirstTime(const Session& s, const std::string& path, TLogFile& file) {
    TLineReader reader;
    if (!reader.Open(path)) return false;
    QuietPlatform quiet(s.platform);
    Session scratch(quiet);
    scratch.settings = s.settings;
    ResetSegmentation(scratch);
    std::string_view line;
    while (reader.lineno() < kScanLines && reader.Next(line)) {
        ++scratch.recnumb;
        scratch.linenote = {};
        scratch.curline = line;
        try {
            ParseLine(scratch, line);
        } catch (const ConvertError&) {
            break;  // the load will say so
        }
        scratch.curline = {};
        if (scratch.linenote.hasrec && scratch.vdrdts != 0) {
            file.firsttime = scratch.vdrdts;
            file.recordertime = true;
            return true;
        }
        if (scratch.lastfixutc != 0) {
            file.firsttime = scratch.lastfixutc;
            return true;
        }
    }
    return true;  // no time so far; a read error is the load's to report
}

}  // namespace

std::vector<std::string> ExpandLogPaths(const std::vector<std::string>& paths) {
    std::vector<std::string> out;
    std::vector<std::filesystem::path> seen;
    // A file named twice (or also found in a folder named) is read once.
    auto add = [&](const std::string& p) {
        std::error_code ec;
        std::filesystem::path id = std::filesystem::weakly_canonical(p, ec);
        if (ec) id = p;
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) return;
        seen.push_back(std::move(id));
        out.push_back(p);
    };
    for (const std::string& p : paths) {
        std::error_code ec;
        if (!std::filesystem::is_directory(p, ec)) {
            add(p);
            continue;
        }
        std::vector<std::string> inside;
        for (const auto& e : std::filesystem::directory_iterator(p, ec)) {
            std::error_code fec;
            if (e.is_regular_file(fec) && IsLogName(e.path())) inside.push_back(e.path().string());
        }
        std::sort(inside.begin(), inside.end());
        for (const std::string& f : inside) add(f);
    }
    return out;
}

std::vector<TLogFile> OrderLogFiles(Session& s, const std::vector<std::string>& paths, std::string& unreadable) {
    std::vector<TLogFile> files;
    for (const std::string& p : paths) {
        TLogFile f;
        f.path = p;
        if (!ScanFirstTime(s, p, f)) {
            unreadable = p;
            return {};
        }
        files.push_back(std::move(f));
    }
    std::stable_sort(files.begin(), files.end(), [](const TLogFile& a, const TLogFile& b) {
        const bool ta = a.firsttime != 0, tb = b.firsttime != 0;
        if (ta != tb) return ta;
        if (ta && a.firsttime != b.firsttime) return a.firsttime < b.firsttime;
        return !ta && a.path < b.path;
    });
    return files;
}

}  // namespace brenvik
