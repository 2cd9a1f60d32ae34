#include "parse/loader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "helptopics.h"
#include "model/datetime.h"
#include "parse/linedispatch.h"
#include "parse/segment.h"
#include "parse/sourcestats.h"
#include "session.h"

namespace brenvik {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads a file as bytes in large blocks and hands out its lines without their line ends (LF or
// CR LF). The views stay valid until the next call of Next; the buffer grows for longer lines.
class LineReader {
public:
    explicit LineReader(std::FILE* f) : f_(f), buf_(kBlock) {}

    // False at the end of the file or on a read error (see failed()).
    bool Next(std::string_view& line) {
        for (;;) {
            const char* b = buf_.data() + begin_;
            if (const void* nl = std::memchr(b, '\n', end_ - begin_)) {
                const auto n = static_cast<std::size_t>(static_cast<const char*>(nl) - b);
                line = last_ = Strip(std::string_view(b, n));
                begin_ += n + 1;
                return true;
            }
            if (eof_) {
                if (begin_ == end_) return false;
                line = last_ = Strip(std::string_view(b, end_ - begin_));  // no line end
                begin_ = end_;
                return true;
            }
            if (!Fill()) return false;
        }
    }
    bool failed() const { return failed_; }
    // The line handed out last, still valid after a failed read.
    std::string_view last() const { return last_; }

private:
    static constexpr std::size_t kBlock = 1 << 20;

    static std::string_view Strip(std::string_view l) {
        return !l.empty() && l.back() == '\r' ? l.substr(0, l.size() - 1) : l;
    }

    // Moves the unfinished line to the front, grows the buffer when that line fills it, and reads.
    bool Fill() {
        saved_.assign(last_);  // the move below overwrites it
        last_ = saved_;
        if (begin_ > 0) {
            std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
        }
        if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);
        const std::size_t got = std::fread(buf_.data() + end_, 1, buf_.size() - end_, f_);
        end_ += got;
        if (got == 0) {
            if (std::ferror(f_)) {
                failed_ = true;
                return false;
            }
            eof_ = true;
        }
        return true;
    }

    std::FILE* f_;
    std::vector<char> buf_;
    std::size_t begin_ = 0, end_ = 0;
    bool eof_ = false, failed_ = false;
    std::string_view last_;
    std::string saved_;
};

FilePtr OpenLog(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return nullptr;
    return FilePtr(std::fopen(path.c_str(), "rb"));
}

void ShowFormatError(Session& s, const std::string& path, std::string_view line) {
    std::string text = "Format error in file:\r\n" + path + "\r\nat Line number = " + std::to_string(s.recnumb) + "\r\n";
    text += line;
    s.platform.ShowMessage(MsgKind::Error, text);
}

// Steps after the last line: the final cut, the first event's time, the Offset column.
void FinishEvents(Session& s) {
    CutCheck(s, s.curevent.coord, s.curevent.dts + kSecond);
    if (s.events.count() >= 2) {
        TEvent& first = s.events[0];
        // A first event cut before any date was known has no date or no time of day.
        if (first.dts - std::trunc(first.dts) == 0 || first.dts < 1) first.dts = s.events[1].dts - kSecond;
    }
    auto& f = s.fields.fields;
    if (f[fVDRTime].dataval && f[fTime].dataval) f[fOffset].dataval = true;
    if (!s.events.empty()) s.firstdts = s.events.front().dts;
}

// Resets everything a load fills (the settings and the AIS fragment store stay).
void ResetLoadState(Session& s) {
    s.events.clear();
    s.aisevents.clear();
    s.vehicles.Clear();
    s.aisselection.clear();
    s.totlines = 0;
    s.unproclines = 0;
    s.corruptcount = 0;
    s.corruptrecs.clear();
    s.sources.Clear();
    s.vdrdts = 0;
    ResetSegmentation(s);
    s.ForgetNowYear();
    s.fileheader = true;
    s.limithit = 0;
    s.limitname.clear();
    s.ownmmsi = "000000000";
    s.curevent = TEvent{};
    s.recnumb = 0;
}

}  // namespace

LoadOutcome LoadLogFile(Session& s, const std::string& path) {
    if (path.empty()) return LoadOutcome::Skipped;
    s.platform.LoadStarted();
    ResetLoadState(s);
    const FilePtr file = OpenLog(path);
    if (!file) {
        s.platform.ShowMessage(MsgKind::Error, "Could not open the file:\r\n" + path);
        return LoadOutcome::NotOpened;
    }
    s.fields.ClearDataval();

    LineReader reader(file.get());
    std::string_view line;
    try {
        while (reader.Next(line)) {
            ++s.recnumb;
            if (s.recnumb > linelimit) {
                s.limitname = "Records";
                s.limithit = linelimit;
            } else if (s.fileheader && !line.empty() && line[0] >= 'A' && line[0] <= 'Z') {
                continue;  // a title or column names before the data
            } else {
                s.fileheader = false;
                SourceLineBegin(s);
                ParseLine(s, line);
                SourceLineEnd(s);
            }
            if (s.limithit != 0) {
                ShowCapacityMessage(s, s.limitname, s.limithit);
                break;
            }
        }
        if (reader.failed()) throw ConvertError();
        FinishEvents(s);
    } catch (const ConvertError&) {
        ShowFormatError(s, path, reader.last());
        return LoadOutcome::FormatError;
    }

    return LoadOutcome::Complete;
}

void ShowCapacityMessage(Session& s, std::string_view name, std::int32_t limit) {
    static_cast<void>(limit);  // the message names what overflowed, not the number
    std::string text = "The number of ";
    text += name;
    text += " exceeds the capability of this program.\r\n"
            "Please send a note to the author describing the problem you are having."
            "\r\n\r\nTo avoid seeing this warning message, try using a smaller data file.";
    s.platform.ShowMessage(MsgKind::Warning, text, help::Capacity, true);
}

}  // namespace brenvik
