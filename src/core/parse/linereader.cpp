#include "parse/linereader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brenvik {
namespace {

// Text is read in blocks of this size behind the unfinished line, which never reaches maxline.
constexpr std::size_t kBlock = 1 << 20;
constexpr std::size_t kBufSize = kBlock + TLineReader::maxline;
// A short file is read into a buffer of its own size and this much more; the buffer grows to
// kBufSize when the text needs more room (a file that grew, UTF-16 decoded into longer UTF-8).
constexpr std::size_t kSlack = 4096;
// The least room a read needs: one UTF-8 sequence.
constexpr std::size_t kMinRoom = 4;

// Appends code point c as UTF-8 at to; returns the bytes written (at most 4).
std::size_t PutUtf8(char* to, unsigned c) {
    auto b = [](unsigned v) { return static_cast<char>(v); };
    if (c < 0x80) {
        to[0] = b(c);
        return 1;
    }
    if (c < 0x800) {
        to[0] = b(0xC0 | (c >> 6));
        to[1] = b(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        to[0] = b(0xE0 | (c >> 12));
        to[1] = b(0x80 | ((c >> 6) & 0x3F));
        to[2] = b(0x80 | (c & 0x3F));
        return 3;
    }
    to[0] = b(0xF0 | (c >> 18));
    to[1] = b(0x80 | ((c >> 12) & 0x3F));
    to[2] = b(0x80 | ((c >> 6) & 0x3F));
    to[3] = b(0x80 | (c & 0x3F));
    return 4;
}

// The position of the first CR or LF among the n characters at t, or n. One scan for both:
// every line of the file passes through here.
std::size_t LineEnd(const char* t, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(w, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(w, _mm_set1_epi8('\r')));
        if (const auto m = static_cast<unsigned>(_mm_movemask_epi8(hit))) return i + static_cast<std::size_t>(std::countr_zero(m));
    }
#endif
    for (; i < n; ++i)
        if (t[i] == '\n' || t[i] == '\r') return i;
    return n;
}

}  // namespace

TLineReader::TLineReader() = default;
TLineReader::~TLineReader() = default;

bool TLineReader::Open(const std::string& path) {
    file_.reset();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    filesize_ = std::filesystem::file_size(path, ec);
    // A buffer of the full size for every short log would cost more than reading it.
    const std::size_t want =
        ec || filesize_ >= kBufSize - kSlack ? kBufSize : static_cast<std::size_t>(filesize_) + kSlack;
    if (ec) filesize_ = 0;
    fileread_ = 0;
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) return false;
    if (!buf_ || cap_ < want) {
        buf_.reset(new char[want]);
        cap_ = want;
    }
    enc_ = Encoding::Unknown;
    begin_ = end_ = rawbegin_ = rawend_ = 0;
    raweof_ = eof_ = failed_ = skipping_ = aftercr_ = false;
    lineno_ = 0;
    last_ = {};
    saved_.clear();
    return true;
}

bool TLineReader::Next(std::string_view& line) {
    if (!file_) return false;
    for (;;) {
        const char* b = buf_.get() + begin_;
        const std::size_t avail = end_ - begin_;
        if (avail == 0) {
            if (eof_ || failed_) return false;
            if (!Fill()) return false;
            continue;
        }
        if (aftercr_) {  // the LF of a CR LF split between two reads
            aftercr_ = false;
            if (*b == '\n') ++begin_;
            continue;
        }
        // The line ends at the first CR or LF; a CR right before an LF belongs to it.
        const std::size_t end = LineEnd(b, avail);
        const bool cr = end < avail && b[end] == '\r', lf = end < avail && !cr;
        std::size_t n = 0, consumed = 0;
        if (cr) {
            n = end;
            if (n + 1 < avail) {
                consumed = n + (b[n + 1] == '\n' ? 2 : 1);
            } else {
                consumed = n + 1;
                aftercr_ = true;
            }
        } else if (lf) {
            n = end;
            consumed = n + 1;
        } else if (skipping_) {
            begin_ = end_;  // still inside the over-long line
            continue;
        } else if (avail < maxline && !eof_) {
            if (!Fill()) return false;
            continue;
        } else {
            // An over-long line (its rest is skipped up to its line end) or a last line
            // without a line end.
            n = consumed = avail;
            skipping_ = avail >= maxline;
        }
        begin_ += consumed;
        if (cr || lf) {
            if (skipping_) {  // the end of an over-long line already handed out
                skipping_ = false;
                continue;
            }
        }
        line = last_ = std::string_view(b, std::min(n, maxline));
        lineoffset_ = fileread_ - (end_ - static_cast<std::size_t>(b - buf_.get()));
        ++lineno_;
        return true;
    }
}

std::optional<std::uint64_t> TLineReader::lineoffset() const {
    if (enc_ != Encoding::Bytes) return std::nullopt;
    return lineoffset_;
}

bool TLineReader::Seek(std::uint64_t offset, std::int32_t lineno) {
    if (!file_ || offset > filesize_ || lineno < 1) return false;
    if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) return false;
    // Past the first bytes there is no byte-order mark to look for.
    enc_ = offset == 0 ? Encoding::Unknown : Encoding::Bytes;
    fileread_ = offset;
    begin_ = end_ = 0;
    eof_ = failed_ = skipping_ = aftercr_ = false;
    lineno_ = lineno - 1;
    last_ = {};
    return true;
}

// Moves the unfinished line to the front and appends what the file holds next.
bool TLineReader::Fill() {
    saved_.assign(last_);  // the move below overwrites it
    last_ = saved_;
    if (begin_ > 0) {
        std::memmove(buf_.get(), buf_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (cap_ - end_ < kMinRoom && cap_ < kBufSize) {
        std::unique_ptr<char[]> bigger(new char[kBufSize]);
        std::memcpy(bigger.get(), buf_.get(), end_);
        buf_ = std::move(bigger);
        cap_ = kBufSize;
    }
    if (enc_ == Encoding::Unknown) DetectEncoding();
    char* to = buf_.get() + end_;
    const std::size_t room = cap_ - end_;
    std::size_t got = 0;
    if (enc_ == Encoding::Utf16LE || enc_ == Encoding::Utf16BE) {
        got = DecodeUtf16(to, room);
    } else {
        got = std::fread(to, 1, room, file_.get());
        fileread_ += got;
        if (got < room && std::ferror(file_.get())) failed_ = true;
    }
    end_ += got;
    if (failed_) return false;
    if (got == 0) eof_ = true;
    return true;
}

// Reads the first bytes of the file: a byte-order mark chooses the encoding and is dropped.
void TLineReader::DetectEncoding() {
    unsigned char head[3] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file_.get());
    fileread_ += got;
    if (got < sizeof head && std::ferror(file_.get())) failed_ = true;
    enc_ = Encoding::Bytes;
    std::size_t from = 0;  // the first byte of head that is text
    if (got == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
        from = 3;
    } else if (got >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF))) {
        enc_ = head[0] == 0xFF ? Encoding::Utf16LE : Encoding::Utf16BE;
        raw_.reset(new char[kBlock]);
        rawbegin_ = 0;
        rawend_ = got - 2;
        if (rawend_ > 0) raw_[0] = static_cast<char>(head[2]);
        return;
    }
    for (std::size_t i = from; i < got; ++i) buf_[end_++] = static_cast<char>(head[i]);
}

// Moves the undecoded rest of the UTF-16 bytes to the front and reads more behind it.
bool TLineReader::FillRaw() {
    const std::size_t left = rawend_ - rawbegin_;
    std::memmove(raw_.get(), raw_.get() + rawbegin_, left);
    rawbegin_ = 0;
    rawend_ = left;
    const std::size_t got = std::fread(raw_.get() + rawend_, 1, kBlock - rawend_, file_.get());
    fileread_ += got;
    rawend_ += got;
    if (got == 0) {
        if (std::ferror(file_.get())) {
            failed_ = true;
            return false;
        }
        raweof_ = true;
    }
    return true;
}

// Decodes UTF-16 into UTF-8 at to, at most room bytes; unpaired surrogates become U+FFFD and
// a lone last byte is dropped.
std::size_t TLineReader::DecodeUtf16(char* to, std::size_t room) {
    const bool le = enc_ == Encoding::Utf16LE;
    auto unit = [&](std::size_t i) {
        const auto* r = reinterpret_cast<const unsigned char*>(raw_.get()) + i;
        return le ? static_cast<unsigned>(r[0] | (r[1] << 8)) : static_cast<unsigned>((r[0] << 8) | r[1]);
    };
    std::size_t out = 0;
    while (room - out >= 4) {
        const std::size_t have = rawend_ - rawbegin_;
        if (have < 4 && !raweof_) {
            if (!FillRaw()) break;
            continue;
        }
        if (have < 2) {
            rawbegin_ = rawend_;
            break;
        }
        unsigned c = unit(rawbegin_);
        std::size_t used = 2;
        if (c >= 0xD800 && c <= 0xDBFF) {
            const unsigned d = have >= 4 ? unit(rawbegin_ + 2) : 0;
            if (d >= 0xDC00 && d <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
                used = 4;
            } else {
                c = 0xFFFD;
            }
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        rawbegin_ += used;
        out += PutUtf8(to + out, c);
    }
    return out;
}

}  // namespace brenvik
