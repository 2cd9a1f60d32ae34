#include "parse/loglines.h"

#include <algorithm>

#include "parse/linereader.h"

namespace brenvik {

bool ReadLogLines(const std::vector<TLogFile>& files, std::int32_t first, std::int32_t last,
                  const std::function<void(std::int32_t, std::string_view)>& take, std::string& failed) {
    TLineReader reader;
    for (const TLogFile& f : files) {
        if (f.lastline < first || f.firstline > last || f.lastline < f.firstline) continue;
        if (!reader.Open(f.path)) {
            failed = f.path;
            return false;
        }
        // Local numbers: the file's own line 1 is the load's firstline.
        const std::int32_t from = std::max(first, f.firstline) - f.firstline + 1;
        const std::int32_t to = std::min(last, f.lastline) - f.firstline + 1;
        const auto k = static_cast<std::size_t>((from - 1) / kLineIndexStep);
        if (k > 0 && k < f.offsets.size() &&
            !reader.Seek(f.offsets[k], static_cast<std::int32_t>(k) * kLineIndexStep + 1)) {
            failed = f.path;
            return false;
        }
        std::string_view line;
        while (reader.lineno() < to && reader.Next(line))
            if (reader.lineno() >= from) take(f.firstline + reader.lineno() - 1, line);
        if (reader.failed()) {
            failed = f.path;
            return false;
        }
    }
    return true;
}

}  // namespace brenvik
