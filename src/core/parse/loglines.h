#pragma once
// Reading lines of the loaded files back by the load's line numbers, for the source view.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/logfiles.h"

namespace brenvik {

// Hands lines first..last of the files (numbered as the load numbered them) to `take`, with
// the same reader the load used; a far line is reached through the file's line index. False
// when a file cannot be opened or read: its path is in `failed`.
bool ReadLogLines(const std::vector<TLogFile>& files, std::int32_t first, std::int32_t last,
                  const std::function<void(std::int32_t, std::string_view)>& take, std::string& failed);

}  // namespace brenvik
