#pragma once
// The files a load read as one log: one file, or the files of a voyage (hourly recorder files,
// say) read one after another with their line numbers running on.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/datetime.h"

namespace brenvik {

struct TLogFile {
    std::string path;
    std::int32_t firstline = 0, lastline = 0;  // the load's numbers; lastline < firstline: no lines
    // The file's first and last times: the recorder time where its lines carry one, else the
    // sentences' UTC; 0 when it has none.
    TDateTime firsttime = 0, lasttime = 0;
    bool recordertime = false;  // the times are recorder times
    // Byte offsets of the file's lines 1, 1 + kLineIndexStep, 1 + 2 * kLineIndexStep ...: a
    // line far down a long file is found without reading all before it. Empty where the file
    // cannot be indexed by bytes (UTF-16).
    std::vector<std::uint64_t> offsets;
};

inline constexpr std::int32_t kLineIndexStep = 1 << 16;

// A voyage is remembered (last file, recent files) as one entry: its paths in reading order,
// joined by tabs, which no real log path holds.
inline constexpr char kVoyageSep = '\t';
std::string VoyageEntry(const std::vector<std::string>& paths);
std::vector<std::string> EntryPaths(std::string_view entry);
// The entry's first path: the name outputs are named after.
std::string EntryFirstPath(std::string_view entry);
bool IsVoyageEntry(std::string_view entry);

}  // namespace brenvik
