#pragma once
// The messages a damaged log can raise on every line ("Format Error=", "Error=", "DecodeAIS
// Fault: "): per load the first of each kind is shown, every one is counted with the line of
// the first, so a file that is not a log costs the user a few boxes, not one per line.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace brenvik {

enum class LineMsg { FormatError, Error, DecodeAIS };
constexpr std::size_t kLineMsgKinds = 3;

struct TLineMsgCount {
    std::int32_t count = 0;
    std::int32_t firstline = 0;  // line number of the first; 0 while count is 0
};

class TLineMessages {
public:
    void Clear() { counts_ = {}; }
    // Counts a message of a kind on a line; true when it is the first of its kind in this load,
    // the one to show.
    bool Note(LineMsg kind, std::int32_t line) {
        TLineMsgCount& c = counts_[static_cast<std::size_t>(kind)];
        if (c.count++ == 0) c.firstline = line;
        return c.count == 1;
    }
    const TLineMsgCount& operator[](LineMsg kind) const { return counts_[static_cast<std::size_t>(kind)]; }

private:
    std::array<TLineMsgCount, kLineMsgKinds> counts_{};
};

// The text each kind's message begins with.
std::string_view LineMsgPrefix(LineMsg kind);
// Whether a message text is one of the per-line kinds.
bool IsLineMessage(std::string_view text);

// Log bytes as a message quotes them: control bytes (and DEL) as \xNN, so that a box or a
// terminal shows what the file holds.
std::string EscapeControls(std::string_view text);
// The start of a log line as a message quotes it: at most 80 characters, escaped.
std::string LineStartText(std::string_view line);

}  // namespace brenvik
