#include "export/replacefile.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace brenvik {

namespace fs = std::filesystem;

bool TReplacingFile::Open(const std::string& target) {
    Discard();
    std::error_code ec;
    fs::path path(target);
    // Through a symbolic link the file it points to is replaced, not the link.
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        fs::path resolved = fs::weakly_canonical(path, ec);
        if (ec) return false;
        path = resolved;
    }
    const fs::file_status st = fs::status(path, ec);
    if (st.type() != fs::file_type::not_found && st.type() != fs::file_type::regular) {
        FFile = std::fopen(path.string().c_str(), "wb");
        return FFile != nullptr;
    }
    if (path.filename().empty()) return false;
    static std::mt19937_64 rng{std::random_device{}()};
    for (int attempt = 0; attempt < 20 && FFile == nullptr; ++attempt) {
        fs::path tmp = path;
        tmp.replace_filename("." + path.filename().string() + "." + std::to_string(rng() % 1000000000) + ".tmp");
        // "x": never open a file that is already there.
        FFile = std::fopen(tmp.string().c_str(), "wbx");
        if (FFile) FTemp = tmp.string();
        else if (!fs::exists(tmp, ec)) break;  // the folder refuses it: trying other names won't help
    }
    FTarget = path.string();
    return FFile != nullptr;
}

bool TReplacingFile::Commit(bool good) {
    if (FFile == nullptr) return false;
    good = good && std::fflush(FFile) == 0 && !std::ferror(FFile);
    if (std::fclose(FFile) != 0) good = false;
    FFile = nullptr;
    if (FTemp.empty()) return good;
    std::error_code ec;
    if (good) {
        // The replacement keeps the permissions of the file it replaces.
        const fs::file_status old = fs::status(FTarget, ec);
        if (!ec && old.type() == fs::file_type::regular)
            fs::permissions(FTemp, old.permissions(), fs::perm_options::replace, ec);
        fs::rename(FTemp, FTarget, ec);
        good = !ec;
    }
    if (!good) fs::remove(FTemp, ec);
    FTemp.clear();
    return good;
}

void TReplacingFile::Discard() {
    if (FFile != nullptr) std::fclose(FFile);
    FFile = nullptr;
    if (!FTemp.empty()) {
        std::error_code ec;
        fs::remove(FTemp, ec);
        FTemp.clear();
    }
}

}  // namespace brenvik
