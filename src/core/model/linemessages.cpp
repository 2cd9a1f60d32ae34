#include "model/linemessages.h"

#include <algorithm>

namespace brenvik {
namespace {

constexpr std::array<std::string_view, kLineMsgKinds> prefixes{"Format Error=", "Error=", "DecodeAIS Fault: "};

}  // namespace

std::string_view LineMsgPrefix(LineMsg kind) { return prefixes[static_cast<std::size_t>(kind)]; }

bool IsLineMessage(std::string_view text) {
    for (const std::string_view p : prefixes)
        if (text.starts_with(p)) return true;
    return false;
}

std::string EscapeControls(std::string_view text) {
    constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() + 8);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 32 || c == 127) {
            out += "\\x";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

std::string LineStartText(std::string_view line) { return EscapeControls(line.substr(0, std::min<std::size_t>(line.size(), 80))); }

}  // namespace brenvik
