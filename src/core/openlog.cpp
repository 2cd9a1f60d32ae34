#include "openlog.h"

#include <algorithm>

#include "analysis/encounters.h"
#include "model/strutil.h"
#include "present/fieldtext.h"
#include "present/report.h"
#include "session.h"

namespace brenvik {
namespace {

std::string FolderOf(const std::string& path) {
#ifdef _WIN32
    const auto sep = path.find_last_of("\\/:");
#else
    const auto sep = path.find_last_of('/');
#endif
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

}  // namespace

std::int32_t OwnMmsi(const Session& s) {
    const auto v = ParseInt(s.ownmmsi);
    return v ? *v : 0;
}

LoadOutcome OpenLogFile(Session& s, const std::string& path) { return OpenLogFiles(s, EntryPaths(path)); }

LoadOutcome OpenLogFiles(Session& s, const std::vector<std::string>& paths) {
    const LoadOutcome outcome = LoadLogFiles(s, paths);
    if (outcome != LoadOutcome::Complete) return outcome;
    s.settings.lastfile = s.logentry;
    s.settings.lastfolder = FolderOf(EntryFirstPath(s.logentry));
    AddRecentFile(s.settings, s.logentry);
    s.encounters = ComputeEncounters(s.events, s.aisevents, OwnMmsi(s));
    s.platform.ShowReport(SummaryReport(s));
    if (s.settings.autoshowvalid) s.fields.ShowValid();
    s.fields.RebuildShown(s.settings.ignorevdr);
    GatherRanges(s);  // the min/max strip of the shown fields
    s.platform.LoadFinished();
    return outcome;
}

void AddRecentFile(TSettings& settings, const std::string& path) {
    auto& list = settings.recentfiles;
    const auto it = std::find(list.begin(), list.end(), path);
    if (it != list.begin() || it == list.end()) {  // unless it is already the newest
        if (it != list.end()) list.erase(it);
        while (list.size() >= 10) list.pop_back();
        list.insert(list.begin(), path);
    }
    settings.lastfile = list.front();
}

}  // namespace brenvik
