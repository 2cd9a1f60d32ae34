#include "export/textfile.h"

namespace brenvik {
namespace {

inline unsigned char U(char c) { return static_cast<unsigned char>(c); }
inline bool Cont(unsigned char c, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
    return c >= lo && c <= hi;
}

// Length of the well-formed UTF-8 sequence starting at text[i] (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when there is none.
std::size_t Utf8SeqLen(std::string_view text, std::size_t i) {
    const std::size_t left = text.size() - i;
    const unsigned char b = U(text[i]);
    auto c = [&](std::size_t k) { return U(text[i + k]); };
    if (b >= 0xC2 && b <= 0xDF) return left >= 2 && Cont(c(1)) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (left < 3) return 0;
        const unsigned char lo = b == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = b == 0xED ? 0x9F : 0xBF;
        return Cont(c(1), lo, hi) && Cont(c(2)) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (left < 4) return 0;
        const unsigned char lo = b == 0xF0 ? 0x90 : 0x80;
        const unsigned char hi = b == 0xF4 ? 0x8F : 0xBF;
        return Cont(c(1), lo, hi) && Cont(c(2)) && Cont(c(3)) ? 4 : 0;
    }
    return 0;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Appends UTF-8 text, replacing what XML 1.0 cannot hold and escaping with `esc`, which
// returns the escape of an ASCII character or an empty view to keep it.
template <typename Esc>
void AppendXml(std::string& out, std::string_view s, Esc esc) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char b = U(s[i]);
        if (b < 0x80) {
            if (std::string_view e = esc(s, i); !e.empty()) {
                out += e;
            } else if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') {
                out += kReplacement;
            } else {
                out += s[i];
            }
        } else if (b == 0xEF && i + 2 < s.size() && U(s[i + 1]) == 0xBF &&
                   (U(s[i + 2]) == 0xBE || U(s[i + 2]) == 0xBF)) {
            out += kReplacement;  // U+FFFE, U+FFFF
            i += 2;
        } else {
            out += s[i];
        }
    }
}

std::string_view TextEscape(std::string_view s, std::size_t i) {
    switch (s[i]) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        // Kept as character references: a parser would turn a raw CR into LF.
        case '\t': return "&#9;";
        case '\n': return "&#10;";
        case '\r': return "&#13;";
        default: return {};
    }
}

}  // namespace

void AppendUtf8(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char b = U(text[i]);
        if (b < 0x80) {
            out += text[i++];
        } else if (std::size_t n = Utf8SeqLen(text, i); n > 0) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
            ++i;
        }
    }
}

std::string ToUtf8(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    AppendUtf8(s, text);
    return s;
}

void AppendXmlText(std::string& out, std::string_view utf8) { AppendXml(out, utf8, TextEscape); }

void AppendXmlAttr(std::string& out, std::string_view utf8) {
    AppendXml(out, utf8, [](std::string_view s, std::size_t i) -> std::string_view {
        return s[i] == '"' ? "&quot;" : TextEscape(s, i);
    });
}

void AppendXmlCData(std::string& out, std::string_view utf8) {
    AppendXml(out, utf8, [](std::string_view s, std::size_t i) -> std::string_view {
        // "]]>" becomes "]]" "]]><![CDATA[" ">": the section ends after "]]" and a new
        // one begins with ">".
        if (s[i] == '>' && i >= 2 && s[i - 1] == ']' && s[i - 2] == ']') return "]]><![CDATA[>";
        return {};
    });
}

TTextOut::~TTextOut() {
    if (FFile != nullptr && FOwned) std::fclose(FFile);
}

bool TTextOut::Create(const std::string& path) {
    if (FFile != nullptr) return false;
    FFile = std::fopen(path.c_str(), "wb");
    FOwned = true;
    FGood = FFile != nullptr;
    return FGood;
}

void TTextOut::Put(std::string_view bytes) {
    if (!ok() || bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size() || std::ferror(FFile))
        FGood = false;
}

void TTextOut::Write(std::string_view text) {
    FBuf.clear();
    AppendUtf8(FBuf, text);
    Put(FBuf);
}

void TTextOut::Line(std::string_view text) {
    FBuf.clear();
    AppendUtf8(FBuf, text);
    FBuf += "\r\n";
    Put(FBuf);
}

bool TTextOut::Close() {
    if (FFile == nullptr) return false;
    bool good = FGood && std::fflush(FFile) == 0 && !std::ferror(FFile);
    if (FOwned && std::fclose(FFile) != 0) good = false;
    FFile = nullptr;
    FGood = good;
    return good;
}

}  // namespace brenvik
