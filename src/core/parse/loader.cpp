#include "parse/loader.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "helptopics.h"
#include "model/datetime.h"
#include "parse/linedispatch.h"
#include "parse/linefeed.h"
#include "parse/segment.h"
#include "parse/sourcestats.h"
#include "parse/voyagefiles.h"
#include "session.h"

namespace brenvik {
namespace {

// Lines between two progress calls: often enough for a smooth bar, rare enough to cost nothing.
constexpr std::int32_t kProgressLines = 1 << 13;

void ShowFormatError(Session& s, const std::string& path, std::string_view line) {
    std::string text = "Format error in file:\r\n" + path + "\r\nat Line number = " + std::to_string(s.recnumb) + "\r\n";
    text += line;
    s.platform.ShowMessage(MsgKind::Error, text);
}

// Steps after the last line: the final cut, the first event's time, the Offset column.
void FinishEvents(Session& s) {
    CutCheck(s, s.curevent.coord, s.curevent.dts + kSecond);
    if (s.events.count() >= 2) {
        TEvent& first = s.events[0];
        // A first event cut before any date was known has no date or no time of day.
        if (first.dts - std::trunc(first.dts) == 0 || first.dts < 1) first.dts = s.events[1].dts - kSecond;
    }
    auto& f = s.fields.fields;
    if (f[fVDRTime].dataval && f[fTime].dataval) f[fOffset].dataval = true;
    if (!s.events.empty()) s.firstdts = s.events.front().dts;
}

// Resets everything a load fills (the settings and the AIS fragment store stay).
void ResetLoadState(Session& s) {
    s.events.clear();
    s.aisevents.clear();
    s.vehicles.Clear();
    s.aisselection.clear();
    s.encounters.Clear();
    s.aisselected = false;
    s.totlines = 0;
    s.unproclines = 0;
    s.corruptcount = 0;
    s.corruptrecs.clear();
    s.sources.Clear();
    s.vdrdts = 0;
    s.lastfixutc = 0;
    ResetSegmentation(s);
    s.ForgetNowYear();
    s.fileheader = true;
    s.limithit = 0;
    s.limitname.clear();
    s.limitline = 0;
    s.cancelline = 0;
    s.logfiles.clear();
    s.logentry.clear();
    s.linemessages.Clear();
    s.ownmmsi = "000000000";
    s.curevent = TEvent{};
    s.recnumb = 0;
}

// Reads the files of s.logfiles from `feed`, line by line; an outcome when the reading ends
// before the files do (a file not opened, a format error).
template <class Feed>
std::optional<LoadOutcome> ReadFiles(Session& s, Feed& feed, TLoadProgress& progress) {
    std::uint64_t donebytes = 0;  // of the files before the current one
    for (TLogFile& file : s.logfiles) {
        if (!feed.Open(file.path)) {
            s.platform.ShowMessage(MsgKind::Error, "Could not open the file:\r\n" + file.path);
            s.logfiles.clear();
            return LoadOutcome::NotOpened;
        }
        file.firstline = s.recnumb + 1;
        s.fileheader = true;  // each file may begin with its own title
        try {
            while (const TFedLine* line = feed.Next()) {
                ++s.recnumb;
                if (((line->lineno - 1) & (kLineIndexStep - 1)) == 0)
                    if (line->offset) file.offsets.push_back(*line->offset);
                if ((s.recnumb & (kProgressLines - 1)) == 0) {
                    progress.bytes = donebytes + feed.bytesread();
                    progress.lines = s.recnumb;
                    if (!s.platform.LoadProgress(progress)) {
                        s.cancelline = s.recnumb;
                        break;
                    }
                }
                const std::string_view raw = line->raw;
                if (s.recnumb > linelimit && !s.settings.nolimits) {
                    s.limitname = "Records";
                    s.limithit = linelimit;
                } else if (s.fileheader && !raw.empty() && raw[0] >= 'A' && raw[0] <= 'Z') {
                    continue;  // a title or column names before the data
                } else {
                    s.fileheader = false;
                    s.curline = raw;
                    SourceLineBegin(s);
                    if (line->frame) {
                        ApplyLine(s, *line->frame, *line->fields);
                        SourceLineEnd(s, *line->fields);
                    } else {
                        ParseLine(s, raw);
                        SourceLineEnd(s, s.linefields);
                    }
                }
                if (s.limithit != 0) {
                    s.limitline = s.recnumb;
                    ShowCapacityMessage(s, s.limitname, s.limithit);
                    break;
                }
            }
            s.curline = {};
            if (feed.failed()) throw ConvertError();
        } catch (const ConvertError&) {
            s.curline = {};
            ShowFormatError(s, file.path, feed.last());
            return LoadOutcome::FormatError;
        }
        file.lastline = s.recnumb;
        if (file.firsttime != 0) file.lasttime = file.recordertime ? s.vdrdts : s.lastfixutc;
        donebytes += feed.bytesread();
        if (s.cancelline != 0 || s.limitline != 0) break;
    }
    return std::nullopt;
}

}  // namespace

LoadOutcome LoadLogFile(Session& s, const std::string& path) {
    if (path.empty()) return LoadOutcome::Skipped;
    return LoadLogFiles(s, EntryPaths(path));
}

LoadOutcome LoadLogFiles(Session& s, const std::vector<std::string>& paths) {
    if (paths.empty()) return LoadOutcome::Skipped;
    s.platform.LoadStarted();
    ResetLoadState(s);
    const std::vector<std::string> expanded = ExpandLogPaths(paths);
    if (expanded.empty()) {
        s.platform.ShowMessage(MsgKind::Error, "No log files (*.txt, *.log, *.nmea) in:\r\n" + paths.front());
        return LoadOutcome::NotOpened;
    }
    if (expanded.size() == 1) {
        s.logfiles.emplace_back().path = expanded.front();
    } else {
        std::string unreadable;
        s.logfiles = OrderLogFiles(s, expanded, unreadable);
        if (!unreadable.empty()) {
            s.platform.ShowMessage(MsgKind::Error, "Could not open the file:\r\n" + unreadable);
            return LoadOutcome::NotOpened;
        }
    }
    std::vector<std::string> ordered;
    for (const TLogFile& f : s.logfiles) ordered.push_back(f.path);
    s.logentry = VoyageEntry(ordered);
    TLoadProgress progress;
    for (const TLogFile& f : s.logfiles) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(f.path, ec);
        if (!ec) progress.totalbytes += size;
    }
    s.fields.ClearDataval();

    std::optional<LoadOutcome> stopped;
    std::string lastline;  // for a format error found after the last line
    // A long log is framed on a thread of its own, ahead of the handling, where the machine has
    // a second core to give it.
    if (progress.totalbytes >= s.framethreadbytes && std::thread::hardware_concurrency() >= 2) {
        TFrameRules rules = FrameRules(s);
        rules.nowyear = s.NowYear();
        TFramingFeed feed(ordered, rules);
        stopped = ReadFiles(s, feed, progress);
        lastline = feed.last();
    } else {
        TDirectFeed feed;
        stopped = ReadFiles(s, feed, progress);
        lastline = feed.last();
    }
    if (stopped) return *stopped;
    // Files after a stop were not read: the entry still names them, the line ranges do not.
    s.logfiles.erase(std::remove_if(s.logfiles.begin(), s.logfiles.end(), [](const TLogFile& f) { return f.firstline == 0; }),
                     s.logfiles.end());
    try {
        FinishEvents(s);
    } catch (const ConvertError&) {
        ShowFormatError(s, s.logfiles.empty() ? paths.front() : s.logfiles.back().path, lastline);
        return LoadOutcome::FormatError;
    }
    return LoadOutcome::Complete;
}

void ShowCapacityMessage(Session& s, std::string_view name, std::int32_t limit) {
    static_cast<void>(limit);  // the message names what overflowed, not the number
    std::string text = "The number of ";
    text += name;
    text += " exceeds the capability of this program.\r\n"
            "Please send a note to the author describing the problem you are having."
            "\r\n\r\nTo avoid seeing this warning message, try using a smaller data file.";
    s.platform.ShowMessage(MsgKind::Warning, text, help::Capacity, true);
}

}  // namespace brenvik
