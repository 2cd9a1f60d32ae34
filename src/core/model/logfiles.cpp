#include "model/logfiles.h"

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

}  // namespace brenvik
