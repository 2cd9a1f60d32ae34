#include "settings/inifile.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/strutil.h"

namespace brenvik {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// A settings file is a few kilobytes; anything far bigger is not one.
constexpr std::uintmax_t kMaxIniSize = 16u * 1024u * 1024u;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The eight bytes at p with ASCII capitals made small, all at once: a byte below 0x80 is a
// capital when adding 0x3F carries it past 0x7F ('A' or more) but adding 0x25 does not ('Z'
// or less); that capital gets its 0x20 bit.
std::uint64_t Lower8(const char* p) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    const std::uint64_t low7 = w & (0x7F * ones);
    const std::uint64_t capital = ~w & ((low7 + 0x3F * ones) ^ (low7 + 0x25 * ones)) & (0x80 * ones);
    return w | (capital >> 2);
}

// Keys are compared for every key written and read: eight bytes at a time.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // Keys of one length mostly differ in their last character (File00, File01, ...).
    if (!a.empty() && Lower(a.back()) != Lower(b.back())) return false;
    std::size_t i = 0;
    for (; i + 8 <= a.size(); i += 8)
        if (Lower8(a.data() + i) != Lower8(b.data() + i)) return false;
    for (; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// Calls f(line) for every line; CR, LF and CR LF each end a line.
template <class F>
void ForEachLine(std::string_view text, F f) {
    std::size_t b = 0;
    while (b < text.size()) {
        std::size_t e = text.find_first_of("\r\n", b);
        if (e == std::string_view::npos) {
            f(text.substr(b));
            return;
        }
        f(text.substr(b, e - b));
        b = (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? e + 2 : e + 1;
    }
}

}  // namespace

std::string IniTempPath(const std::string& path) { return path + ".tmp"; }

TIniFile::LoadResult TIniFile::LoadFromFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found) {
        FSections.clear();
        return LoadResult::Missing;
    }
    // Directories, devices and pipes are refused: reading them could fail or never end.
    if (ec || st.type() != fs::file_type::regular) return LoadResult::Failed;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxIniSize) return LoadResult::Failed;

    std::ifstream in(path, std::ios::binary);
    if (!in) return LoadResult::Failed;
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (in.bad()) return LoadResult::Failed;
    text.resize(static_cast<std::size_t>(in.gcount()));
    LoadFromText(text);
    return IsDamaged(text) ? LoadResult::Damaged : LoadResult::Loaded;
}

bool TIniFile::IsDamaged(std::string_view text) {
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && b != '\t' && b != '\r' && b != '\n') return true;
    }
    // Every written line ends with CR LF; one cut off in the middle has none.
    return text.size() > kBom.size() && text.substr(0, kBom.size()) == kBom && text.back() != '\n' &&
           text.back() != '\r';
}

void TIniFile::LoadFromText(std::string_view text) {
    FSections.clear();
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    TIniSection* current = nullptr;
    ForEachLine(text, [&](std::string_view raw) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';') return;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            // A repeated section continues the first one of that name.
            current = FindSection(name);
            if (!current) current = &FSections.emplace_back(TIniSection{std::string(name), {}});
            return;
        }
        if (!current) return;  // lines before the first section
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            current->entries.push_back({std::string(line), {}, false});
            return;
        }
        current->entries.push_back(
            {std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1))), true});
    });
}

std::string TIniFile::ToText() const {
    std::string out(kBom);
    for (const TIniSection& sec : FSections) {
        out += '[';
        out += sec.name;
        out += "]\r\n";
        for (const TIniEntry& e : sec.entries) {
            out += e.key;
            if (e.haskey) {
                out += '=';
                out += e.value;
            }
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

bool TIniFile::SaveToFile(const std::string& path) const {
    std::error_code ec;
    // Through a symbolic link the file it points to is replaced, not the link.
    fs::path target(path);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (ec) return false;
        target = resolved;
    }
    // The rename would replace a read-only file and write into a read-only folder whenever
    // the folder lets it (or the user is the administrator): the marking is honoured here.
    constexpr fs::perms anywrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    auto readonly = [&](const fs::path& p, fs::file_type type) {
        const fs::file_status st = fs::status(p, ec);
        return !ec && st.type() == type && (st.permissions() & anywrite) == fs::perms::none;
    };
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (readonly(target, fs::file_type::regular) || readonly(folder, fs::file_type::directory)) return false;
    const std::string tmp = IniTempPath(target.string());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        const std::string text = ToText();
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (out.fail()) {
            fs::remove(tmp, ec);
            return false;
        }
    }
    // The replacement keeps the permissions of the file it replaces.
    const fs::file_status old = fs::status(target, ec);
    if (!ec && old.type() == fs::file_type::regular)
        fs::permissions(tmp, old.permissions(), fs::perm_options::replace, ec);
    fs::rename(tmp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tmp, ignored);
        return false;
    }
    return true;
}

TIniSection* TIniFile::FindSection(std::string_view name) {
    for (TIniSection& sec : FSections)
        if (SameText(sec.name, name)) return &sec;
    return nullptr;
}

const TIniSection* TIniFile::FindSection(std::string_view name) const {
    for (const TIniSection& sec : FSections)
        if (SameText(sec.name, name)) return &sec;
    return nullptr;
}

const std::string* TIniFile::Find(std::string_view section, std::string_view key) const {
    const TIniSection* sec = FindSection(section);
    if (!sec) return nullptr;
    for (const TIniEntry& e : sec->entries)
        if (e.haskey && SameText(e.key, key)) return &e.value;
    return nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    const std::string* v = Find(section, key);
    return v ? *v : std::string(def);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    TIniSection* sec = FindSection(section);
    if (!sec) sec = &FSections.emplace_back(TIniSection{std::string(section), {}});
    // One entry is one line: a line break inside the value would start a new entry.
    std::string v(Trim(value));
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    for (TIniEntry& e : sec->entries) {
        if (e.haskey && SameText(e.key, key)) {
            e.key = std::string(key);
            e.value = std::move(v);
            return;
        }
    }
    sec->entries.push_back({std::string(key), std::move(v), true});
}

}  // namespace brenvik
