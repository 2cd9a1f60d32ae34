#pragma once
// An export written beside its target and put in its place only when complete, so that a
// failed export (a full disk, a size limit) leaves the previous file as it was and no cut one.
#include <cstdio>
#include <string>

namespace brenvik {

class TReplacingFile {
public:
    TReplacingFile() = default;
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;
    ~TReplacingFile() { Discard(); }

    // Creates a temporary file in the target's folder. A target that exists and is no regular
    // file (a device such as /dev/null) is written directly. False when nothing could be opened.
    bool Open(const std::string& target);
    std::FILE* file() const { return FFile; }
    // Closes the file and, when `good` and the close succeeded, renames it over the target.
    // False otherwise: the temporary file is removed and the target left untouched.
    bool Commit(bool good);
    // Closes and removes the temporary file.
    void Discard();

private:
    std::FILE* FFile = nullptr;
    std::string FTarget;
    std::string FTemp;  // empty when the target is written directly
};

}  // namespace brenvik
