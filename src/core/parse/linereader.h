#pragma once
// Reading a log file line by line, as the loader and the source view both number its lines.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brenvik {

// Hands out the lines of a regular file without their line ends. CR LF, LF and a CR not
// followed by LF each end a line. A file that begins with a UTF-16 byte-order mark (FF FE or
// FE FF) is read as UTF-16 and handed out as UTF-8; a UTF-8 byte-order mark is skipped. A line
// longer than maxline bytes is handed out as its first maxline bytes and the rest of it is
// skipped, so memory stays bounded whatever the file holds.
class TLineReader {
public:
    static constexpr std::size_t maxline = 1 << 20;

    TLineReader();
    ~TLineReader();
    TLineReader(const TLineReader&) = delete;
    TLineReader& operator=(const TLineReader&) = delete;

    // False when path is not a regular file (a folder, a device, a pipe) or cannot be opened:
    // reading those could block for ever or never end.
    bool Open(const std::string& path);

    // The next line; false at the end of the file or on a read error (see failed()). The view
    // stays valid until the next call.
    bool Next(std::string_view& line);
    bool failed() const { return failed_; }
    // Lines handed out so far: the 1-based number of the line Next gave last.
    std::int32_t lineno() const { return lineno_; }
    // The line handed out last, still valid after a failed read.
    std::string_view last() const { return last_; }
    // The byte offset in the file at which the line handed out last began; nullopt where bytes
    // and lines do not match one to one (UTF-16).
    std::optional<std::uint64_t> lineoffset() const;
    // Goes to the line that begins at byte `offset` (a lineoffset() of an earlier reading of
    // the same file), whose number is `lineno`; false when the file cannot go there.
    bool Seek(std::uint64_t offset, std::int32_t lineno);
    // Bytes of the file read so far, and its size when it was opened.
    std::uint64_t bytesread() const { return fileread_; }
    std::uint64_t filesize() const { return filesize_; }

private:
    enum class Encoding { Unknown, Bytes, Utf16LE, Utf16BE };
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };

    bool Fill();
    void DetectEncoding();
    std::size_t DecodeUtf16(char* to, std::size_t room);
    bool FillRaw();

    std::unique_ptr<std::FILE, FileCloser> file_;
    Encoding enc_ = Encoding::Unknown;
    // Decoded text: the unfinished line at the front, then what was read after it.
    std::unique_ptr<char[]> buf_;
    std::size_t cap_ = 0;  // bytes in buf_
    std::size_t begin_ = 0, end_ = 0;
    // UTF-16 bytes read but not yet decoded.
    std::unique_ptr<char[]> raw_;
    std::size_t rawbegin_ = 0, rawend_ = 0;
    bool raweof_ = false;
    bool eof_ = false, failed_ = false;
    bool skipping_ = false;  // dropping the rest of an over-long line
    bool aftercr_ = false;   // the last line ended in a CR at the end of the text read: an LF may follow
    std::int32_t lineno_ = 0;
    std::uint64_t fileread_ = 0, filesize_ = 0;
    std::uint64_t lineoffset_ = 0;
    std::string_view last_;
    std::string saved_;
};

}  // namespace brenvik
