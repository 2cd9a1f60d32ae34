#include "model/logfiles.h"

#include <algorithm>

namespace brenvik {

std::string VoyageEntry(const std::vector<std::string>& paths) {
    std::string entry;
    for (const std::string& p : paths) {
        if (!entry.empty()) entry += kVoyageSep;
        entry += p;
    }
    return entry;
}

std::vector<std::string> EntryPaths(std::string_view entry) {
    std::vector<std::string> paths;
    while (!entry.empty()) {
        const auto tab = entry.find(kVoyageSep);
        if (tab != 0) paths.emplace_back(entry.substr(0, tab));
        if (tab == std::string_view::npos) break;
        entry.remove_prefix(tab + 1);
    }
    return paths;
}

std::string EntryFirstPath(std::string_view entry) { return std::string(entry.substr(0, entry.find(kVoyageSep))); }

bool IsVoyageEntry(std::string_view entry) { return entry.find(kVoyageSep) != std::string_view::npos; }

const TLogFile* LogFileAt(const std::vector<TLogFile>& files, std::int32_t line) {
    const auto it = std::upper_bound(files.begin(), files.end(), line,
                                     [](std::int32_t l, const TLogFile& f) { return l < f.firstline; });
    if (it == files.begin()) return nullptr;
    const TLogFile& f = *(it - 1);
    return line <= f.lastline ? &f : nullptr;
}

}  // namespace brenvik
