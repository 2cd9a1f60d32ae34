#pragma once
// The text files the program writes: UTF-8 with CR LF line ends, every write checked, so a
// file that could not be written completely (no space, no permission) is never taken for a
// good one. Also the text escapes the CSV and KML writers need.
#include <cstdio>
#include <string>
#include <string_view>

#include "export/replacefile.h"

namespace brenvik {

// Appends text as UTF-8: valid UTF-8 sequences are kept, any other byte above 127 is read as
// Latin-1 (log files come in either) and encoded.
void AppendUtf8(std::string& out, std::string_view text);
std::string ToUtf8(std::string_view text);

// XML escapes over text that is already UTF-8. Every character XML 1.0 cannot hold (control
// characters other than tab, LF and CR; U+FFFE; U+FFFF) becomes U+FFFD.
// Element content: "&", "<" and ">" escaped; tab, LF and CR as character references.
void AppendXmlText(std::string& out, std::string_view utf8);
// Attribute value in double quotes: as element content, and the double quote.
void AppendXmlAttr(std::string& out, std::string_view utf8);
// Inside a CDATA section: only "]]>" is broken up, across two sections.
void AppendXmlCData(std::string& out, std::string_view utf8);


// A text file being written. Create prepares to replace any file of that name, which happens
// only when Close finds everything written; Line and Write convert to UTF-8. After the first
// failed write nothing more is written and ok() stays false. Written into a string instead,
// it receives the very bytes a file would.
class TTextOut {
public:
    TTextOut() = default;
    // Writes to a stream that stays open afterwards (standard output).
    explicit TTextOut(std::FILE* borrowed) : FFile(borrowed), FOwned(false) {}
    // Appends to `sink`, which must outlive the writing; Close then only reports.
    explicit TTextOut(std::string& sink) : FSink(&sink), FOwned(false) {}
    TTextOut(const TTextOut&) = delete;
    TTextOut& operator=(const TTextOut&) = delete;
    ~TTextOut();

    bool Create(const std::string& path);
    void Write(std::string_view text);
    void Line(std::string_view text);
    // A line of bytes taken as they are (text already in its final encoding), then CR LF.
    void RawLine(std::string_view bytes);
    // Flushes and, for a created file, closes it and puts it in place of the target. False
    // when any write, the flush, the close or the replacement failed (a created file's
    // target is then left as it was), or when no file was ever open.
    bool Close();
    bool ok() const { return (FFile != nullptr || FSink != nullptr) && FGood; }

private:
    void Put(std::string_view bytes);

    TReplacingFile FReplace;
    std::FILE* FFile = nullptr;
    std::string* FSink = nullptr;
    bool FOwned = true;
    bool FGood = true;
    std::string FBuf;  // reused for every line
};

}  // namespace brenvik
