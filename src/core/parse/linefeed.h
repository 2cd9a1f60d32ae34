#pragma once
// Where the loader takes its lines from: straight from the file (TDirectFeed), or from a
// reading thread that reads and frames the files ahead of the loader (TFramingFeed), so the
// framing of one line (checksum, field split, recorder prefix) runs beside the handling of an
// earlier one. Both hand out the same lines in the same order.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "model/sentencefields.h"
#include "parse/linedispatch.h"
#include "parse/linereader.h"

namespace brenvik {

struct TFedLine {
    std::string_view raw;  // the line as the file holds it
    std::int32_t lineno = 0;  // in its own file, from 1
    std::optional<std::uint64_t> offset;  // its byte offset, where bytes and lines match
    // Set by a framing feed: the line's frame, and the fields it split.
    const TLineFrame* frame = nullptr;
    Fields* fields = nullptr;
};

class TDirectFeed {
public:
    bool Open(const std::string& path) { return reader_.Open(path); }
    // The next line (valid until the next call), or nullptr at the end of the file.
    const TFedLine* Next() {
        if (!reader_.Next(line_.raw)) return nullptr;
        line_.lineno = reader_.lineno();
        line_.offset = reader_.lineoffset();
        return &line_;
    }
    bool failed() const { return reader_.failed(); }
    std::string_view last() const { return reader_.last(); }
    std::uint64_t bytesread() const { return reader_.bytesread(); }

private:
    TLineReader reader_;
    TFedLine line_;
};

class TFramingFeed {
public:
    // Starts reading `paths` in their order at once; Open must then be called for them in the
    // same order.
    TFramingFeed(std::vector<std::string> paths, const TFrameRules& rules);
    ~TFramingFeed();  // stops the reading thread wherever it is
    TFramingFeed(const TFramingFeed&) = delete;
    TFramingFeed& operator=(const TFramingFeed&) = delete;

    // The next file of the list; false when it could not be opened.
    bool Open(const std::string& path);
    const TFedLine* Next();
    bool failed() const { return failed_; }
    std::string_view last() const;
    std::uint64_t bytesread() const { return bytesread_; }

private:
    struct Batch;

    void Run();
    Batch* TakeFree();
    void Hand(Batch* b);
    Batch* TakeFull();
    void GiveBack(Batch* b);

    std::vector<std::string> paths_;
    TFrameRules rules_;
    std::vector<std::unique_ptr<Batch>> batches_;
    std::mutex mu_;
    std::condition_variable cv_;
    std::deque<Batch*> free_, full_;
    bool stop_ = false, done_ = false;
    std::exception_ptr error_;
    std::thread thread_;

    // The loader's side.
    Batch* cur_ = nullptr;
    std::size_t next_ = 0;
    bool failed_ = false;
    std::uint64_t bytesread_ = 0;
    std::string last_;
};

}  // namespace brenvik
