#include "parse/linefeed.h"

#include <algorithm>
#include <utility>

namespace brenvik {
namespace {

// Lines a batch holds, and the bytes of text it starts with: large enough that handing a batch
// over costs nothing against its lines, small enough that the batches in flight stay in cache.
constexpr std::size_t kBatchLines = 1024;
constexpr std::size_t kBatchText = 128 * 1024;
// Batches in flight: the reading thread can be this many less one ahead of the loader.
constexpr std::size_t kBatches = 4;
// Fields a sentence usually has at most: room for them up front, so the fields do not grow
// line by line while the batches fill the first time.
constexpr std::size_t kFields = 24;
// Fields (and bytes of quoted text) a line's place in a batch keeps between uses: a log of
// sentences of thousands of fields must not leave that much room behind at every place.
constexpr std::size_t kFieldsKept = 256, kQuotedKept = 4096;

}  // namespace

// A run of lines of one file, framed. The frames' and fields' views point into `text`, which
// never grows while it holds a line.
struct TFramingFeed::Batch {
    std::size_t file = 0;
    bool opened = true;    // false: the file could not be opened (no lines, nothing after it)
    bool fileend = false;  // the file's last batch
    bool failed = false;   // the file's reading failed after these lines
    std::uint64_t bytesread = 0;  // of the file, when the batch was handed over
    std::string last;             // with fileend: the line the reader handed out last
    std::string text;
    std::size_t count = 0;
    std::vector<TFedLine> lines;
    std::vector<TLineFrame> frames;
    std::vector<Fields> fields;

    Batch() : lines(kBatchLines), frames(kBatchLines), fields(kBatchLines) {
        text.reserve(kBatchText);
        for (std::size_t k = 0; k < kBatchLines; ++k) {  // each line's place keeps its frame and fields
            lines[k].frame = &frames[k];
            lines[k].fields = &fields[k];
            fields[k].Reserve(kFields);
        }
    }
    void Reset(std::size_t f) {
        file = f;
        opened = true;
        fileend = failed = false;
        bytesread = 0;
        last.clear();
        text.clear();
        count = 0;
    }
    // Room for one more line of n bytes without moving the text.
    bool Fits(std::size_t n) const { return count < kBatchLines && text.size() + n <= text.capacity(); }
};

TFramingFeed::TFramingFeed(std::vector<std::string> paths, const TFrameRules& rules)
    : paths_(std::move(paths)), rules_(rules) {
    for (std::size_t i = 0; i < kBatches; ++i) {
        batches_.push_back(std::make_unique<Batch>());
        free_.push_back(batches_.back().get());
    }
    thread_ = std::thread([this] { Run(); });
}

TFramingFeed::~TFramingFeed() {
    {
        std::lock_guard lock(mu_);
        stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
}

TFramingFeed::Batch* TFramingFeed::TakeFree() {
    std::unique_lock lock(mu_);
    cv_.wait(lock, [this] { return stop_ || !free_.empty(); });
    if (stop_) return nullptr;
    Batch* b = free_.front();
    free_.pop_front();
    return b;
}

void TFramingFeed::Hand(Batch* b) {
    {
        std::lock_guard lock(mu_);
        full_.push_back(b);
    }
    cv_.notify_all();
}

TFramingFeed::Batch* TFramingFeed::TakeFull() {
    std::unique_lock lock(mu_);
    cv_.wait(lock, [this] { return done_ || !full_.empty(); });
    if (full_.empty()) {
        if (error_) std::rethrow_exception(error_);
        return nullptr;
    }
    Batch* b = full_.front();
    full_.pop_front();
    return b;
}

void TFramingFeed::GiveBack(Batch* b) {
    {
        std::lock_guard lock(mu_);
        free_.push_back(b);
    }
    cv_.notify_all();
}

void TFramingFeed::Run() {
    try {
        TLineReader reader;
        std::string_view line;
        for (std::size_t i = 0; i < paths_.size(); ++i) {
            Batch* b = TakeFree();
            if (!b) break;
            b->Reset(i);
            if (!reader.Open(paths_[i])) {
                b->opened = false;
                Hand(b);
                break;
            }
            while (reader.Next(line)) {
                if (!b->Fits(line.size())) {
                    if (b->count > 0) {
                        b->bytesread = reader.bytesread();
                        Hand(b);
                        if (!(b = TakeFree())) break;
                        b->Reset(i);
                    }
                    // A line longer than a whole batch's text: the empty batch grows for it.
                    if (!b->Fits(line.size())) b->text.reserve(line.size());
                }
                const std::size_t at = b->text.size();
                b->text.append(line);
                TFedLine& l = b->lines[b->count];
                l.raw = std::string_view(b->text).substr(at, line.size());
                l.lineno = reader.lineno();
                l.offset = reader.lineoffset();
                l.fields->Shed(kFieldsKept, kQuotedKept);
                FrameLine(rules_, l.raw, b->frames[b->count], *l.fields);
                ++b->count;
            }
            if (!b) break;
            b->fileend = true;
            b->failed = reader.failed();
            b->last.assign(reader.last());
            b->bytesread = reader.bytesread();
            Hand(b);
            if (b->failed) break;  // the loader stops at a failed file
        }
    } catch (...) {
        std::lock_guard lock(mu_);
        error_ = std::current_exception();
    }
    {
        std::lock_guard lock(mu_);
        done_ = true;
    }
    cv_.notify_all();
}

bool TFramingFeed::Open(const std::string& path) {
    static_cast<void>(path);  // the files come in the order given at construction
    if (cur_) GiveBack(std::exchange(cur_, nullptr));
    failed_ = false;
    bytesread_ = 0;
    last_.clear();
    cur_ = TakeFull();
    next_ = 0;
    if (!cur_) return false;
    if (!cur_->opened) {
        GiveBack(std::exchange(cur_, nullptr));
        return false;
    }
    return true;
}

const TFedLine* TFramingFeed::Next() {
    while (cur_) {
        if (next_ < cur_->count) {
            bytesread_ = cur_->bytesread;
            return &cur_->lines[next_++];
        }
        bytesread_ = cur_->bytesread;
        if (cur_->fileend) {
            failed_ = cur_->failed;
            last_ = cur_->last;
            GiveBack(std::exchange(cur_, nullptr));
            return nullptr;
        }
        GiveBack(std::exchange(cur_, nullptr));
        cur_ = TakeFull();
        next_ = 0;
    }
    return nullptr;
}

std::string_view TFramingFeed::last() const {
    // Inside a file the line handed out last is still in its batch.
    if (cur_ && next_ > 0) return cur_->lines[next_ - 1].raw;
    return last_;
}

}  // namespace brenvik
