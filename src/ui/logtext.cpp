#include "logtext.h"

namespace brenvik::ui {
namespace {

// Length of the valid UTF-8 sequence starting at p (0 when it is not one): shortest forms
// only, no surrogates, nothing above U+10FFFF.
std::size_t Utf8Length(const unsigned char* p, std::size_t left) {
    const unsigned char c = p[0];
    std::size_t n;
    unsigned lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else return 0;
    if (left < n) return 0;
    if (p[1] < lo || p[1] > hi) return 0;
    for (std::size_t i = 2; i < n; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF) return 0;
    return n;
}

}  // namespace

QString LogText(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size && p[i] < 0x80) ++i;
    if (i == size) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(size));

    QString out;
    out.reserve(static_cast<qsizetype>(size));
    out.append(QLatin1StringView(bytes.data(), static_cast<qsizetype>(i)));
    while (i < size) {
        if (p[i] < 0x80) {
            out.append(QChar(p[i++]));
            continue;
        }
        if (const std::size_t n = Utf8Length(p + i, size - i)) {
            out.append(QString::fromUtf8(bytes.data() + i, static_cast<qsizetype>(n)));
            i += n;
        } else {
            out.append(QChar(p[i++]));  // Latin-1: the byte is the code point
        }
    }
    return out;
}

std::string CoreText(const QString& text) { return text.toStdString(); }

}  // namespace brenvik::ui
