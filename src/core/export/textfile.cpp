#include "export/textfile.h"

#include <cstdint>
#include <cstring>

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

// Whether the eight bytes at p are all ASCII: one test instead of eight.
inline bool AsciiWord(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return (w & 0x8080808080808080ull) == 0;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Appends UTF-8 text, replacing what XML 1.0 cannot hold and escaping with `esc`, which
// returns the escape of an ASCII character or an empty view to keep it. Bytes kept as they are
// go out in whole runs: only an escape or a replacement ends a run.
template <typename Esc>
void AppendXml(std::string& out, std::string_view s, Esc esc) {
    std::size_t run = 0;  // start of the bytes not yet appended
    auto flush = [&](std::size_t end) {
        if (end > run) out.append(s.data() + run, end - run);
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char b = U(s[i]);
        if (b < 0x80) {
            if (std::string_view e = esc(s, i); !e.empty()) {
                flush(i);
                out += e;
                run = i + 1;
            } else if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') {
                flush(i);
                out += kReplacement;
                run = i + 1;
            }
        } else if (b == 0xEF && i + 2 < s.size() && U(s[i + 1]) == 0xBF &&
                   (U(s[i + 2]) == 0xBE || U(s[i + 2]) == 0xBF)) {
            flush(i);
            out += kReplacement;  // U+FFFE, U+FFFF
            i += 2;
            run = i + 1;
        }
    }
    flush(s.size());
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
        // A run of ASCII and well-formed sequences goes out in one piece.
        const std::size_t run = i;
        while (i < text.size()) {
            if (i + 8 <= text.size() && AsciiWord(text.data() + i)) {
                i += 8;
            } else if (U(text[i]) < 0x80) {
                ++i;
            } else if (std::size_t n = Utf8SeqLen(text, i); n > 0) {
                i += n;
            } else {
                break;
            }
        }
        if (i > run) out.append(text.data() + run, i - run);
        if (i < text.size()) {
            const unsigned char b = U(text[i++]);
            const char latin1[2] = {static_cast<char>(0xC0 | (b >> 6)), static_cast<char>(0x80 | (b & 0x3F))};
            out.append(latin1, 2);
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

TTextOut::~TTextOut() = default;  // an unfinished created file is discarded with FReplace

bool TTextOut::Create(const std::string& path) {
    if (FFile != nullptr || FSink != nullptr) return false;
    FOwned = true;
    FGood = FReplace.Open(path);
    FFile = FReplace.file();
    return FGood;
}

void TTextOut::Put(std::string_view bytes) {
    if (!ok() || bytes.empty()) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size() || std::ferror(FFile))
        FGood = false;
}

void TTextOut::Write(std::string_view text) {
    if (FSink != nullptr) {
        if (FGood) AppendUtf8(*FSink, text);
        return;
    }
    FBuf.clear();
    AppendUtf8(FBuf, text);
    Put(FBuf);
}

void TTextOut::Line(std::string_view text) {
    if (FSink != nullptr) {
        if (FGood) {
            AppendUtf8(*FSink, text);
            FSink->append("\r\n");
        }
        return;
    }
    FBuf.clear();
    AppendUtf8(FBuf, text);
    FBuf += "\r\n";
    Put(FBuf);
}

void TTextOut::RawLine(std::string_view bytes) {
    if (FSink != nullptr) {
        if (FGood) {
            FSink->append(bytes);
            FSink->append("\r\n");
        }
        return;
    }
    Put(bytes);
    Put("\r\n");
}

bool TTextOut::Close() {
    if (FSink != nullptr) {
        FSink = nullptr;
        return FGood;
    }
    if (FFile == nullptr) return false;
    bool good = FGood;
    if (FOwned) {
        good = FReplace.Commit(good);
    } else {
        good = good && std::fflush(FFile) == 0 && !std::ferror(FFile);
    }
    FFile = nullptr;
    FGood = good;
    return good;
}

}  // namespace brenvik
