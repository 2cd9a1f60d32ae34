#include "settings/inifile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <system_error>

#include "model/strutil.h"

namespace brenvik {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// A settings file is a few kilobytes; anything far bigger is not one.
constexpr std::uintmax_t kMaxIniSize = 16u * 1024u * 1024u;

// The eight bytes of w with ASCII capitals made small, all at once: a byte below 0x80 is a
// capital when adding 0x3F carries it past 0x7F ('A' or more) but adding 0x25 does not ('Z'
// or less); that capital gets its 0x20 bit.
std::uint64_t Fold8(std::uint64_t w) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    const std::uint64_t low7 = w & (0x7F * ones);
    const std::uint64_t capital = ~w & ((low7 + 0x3F * ones) ^ (low7 + 0x25 * ones)) & (0x80 * ones);
    return w | (capital >> 2);
}

std::uint64_t Lower8(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return Fold8(w);
}

// The n (below eight) bytes at p with ASCII capitals made small, zero bytes after them (a zero
// byte stays zero when folded).
std::uint64_t LowerTail(const char* p, std::size_t n) {
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    return Fold8(w);
}

// A hash of the text as SameText sees it (capitals made small), eight bytes at a time; the
// seed tells the keys of one section from those of another.
std::uint32_t FoldHash(std::string_view text, std::uint64_t seed) {
    constexpr std::uint64_t mul = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = (seed + 1) * mul ^ text.size();
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        h = (h ^ Lower8(text.data() + i)) * mul;
        h ^= h >> 32;
    }
    if (i < text.size()) h = (h ^ LowerTail(text.data() + i, text.size() - i)) * mul;
    h ^= h >> 29;
    h *= mul;
    return static_cast<std::uint32_t>(h >> 32);
}

// Names whose hashes matched: eight bytes at a time, the last few as one word.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    for (; i + 8 <= a.size(); i += 8)
        if (Lower8(a.data() + i) != Lower8(b.data() + i)) return false;
    return i == a.size() || LowerTail(a.data() + i, a.size() - i) == LowerTail(b.data() + i, b.size() - i);
}

// Calls f(line) for every line; CR, LF and CR LF each end a line. The next CR and the next LF
// are each looked for again only once the reading has passed them: a text with one kind of
// line end is searched once for the other kind, not at every line.
template <class F>
void ForEachLine(std::string_view text, F f) {
    const char* const t = text.data();
    const std::size_t n = text.size();
    auto next = [&](char c, std::size_t from) -> std::size_t {
        const void* p = from < n ? std::memchr(t + from, c, n - from) : nullptr;
        return p ? static_cast<std::size_t>(static_cast<const char*>(p) - t) : n;
    };
    std::size_t cr = next('\r', 0);
    std::size_t lf = next('\n', 0);
    std::size_t b = 0;
    while (b < n) {
        if (cr < b) cr = next('\r', b);
        if (lf < b) lf = next('\n', b);
        const std::size_t e = cr < lf ? cr : lf;
        if (e == n) {
            f(text.substr(b));
            return;
        }
        f(text.substr(b, e - b));
        b = (t[e] == '\r' && e + 1 < n && t[e + 1] == '\n') ? e + 2 : e + 1;
    }
}

}  // namespace

std::string IniTempPath(const std::string& path) { return path + ".tmp"; }

TIniFile::LoadResult TIniFile::LoadFromFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found) {
        Clear();
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
    // A text inside the model's own buffer is read from a copy: the buffer is refilled.
    if (Inside(text)) {
        const std::string copy(text);
        LoadFromText(copy);
        return;
    }
    Clear();
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    // Every name, key and value is a part of the text: one buffer of its size holds them all.
    FText.reserve(text.size());
    std::uint32_t current = kNone;
    ForEachLine(text, [&](std::string_view raw) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';') return;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            // A repeated section continues the first one of that name.
            current = SectionIndex(name);
            if (current == kNone) current = AddSection(name);
            return;
        }
        if (current == kNone) return;  // lines before the first section
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            AddEntry(current, Append(line), {}, false);
            return;
        }
        const TSpan key = Append(Trim(line.substr(0, eq)));
        AddEntry(current, key, Append(Trim(line.substr(eq + 1))), true);
    });
}

std::string TIniFile::ToText() const {
    std::size_t size = kBom.size();
    for (const TSection& sec : FSections) size += sec.name.len + 6;
    for (const TEntry& e : FEntries) size += e.key.len + e.value.len + 3;
    std::string out;
    out.reserve(size);
    out += kBom;
    for (const TSection& sec : FSections) {
        out += '[';
        out += Text(sec.name);
        out += "]\r\n";
        for (std::uint32_t i = sec.first; i != kNone; i = FEntries[i].next) {
            const TEntry& e = FEntries[i];
            out += Text(e.key);
            if (e.haskey) {
                out += '=';
                out += Text(e.value);
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

void TIniFile::Clear() {
    FText.clear();
    FSections.clear();
    FEntries.clear();
    std::fill(FSlots.begin(), FSlots.end(), TSlot{});
    FUsed = 0;
}

bool TIniFile::Inside(std::string_view text) const {
    return !text.empty() && !FText.empty() && std::less_equal<>()(FText.data(), text.data()) &&
           std::less<>()(text.data(), FText.data() + FText.size());
}

TIniFile::TSpan TIniFile::Append(std::string_view text) {
    const auto off = static_cast<std::uint32_t>(FText.size());
    FText.append(text);
    return {off, static_cast<std::uint32_t>(text.size())};
}

std::uint32_t TIniFile::SectionIndex(std::string_view name) const {
    if (FSlots.empty()) return kNone;
    const std::uint32_t h = FoldHash(name, kNone);
    const std::size_t mask = FSlots.size() - 1;
    // The table is never full, so a free slot ends every search.
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const TSlot& slot = FSlots[i];
        if (slot.section == kNone) return kNone;
        if (slot.hash == h && slot.entry == kNone && SameText(Text(FSections[slot.section].name), name))
            return slot.section;
    }
}

std::uint32_t TIniFile::EntryIndex(std::uint32_t section, std::string_view key) const {
    if (FSlots.empty()) return kNone;
    const std::uint32_t h = FoldHash(key, section);
    const std::size_t mask = FSlots.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const TSlot& slot = FSlots[i];
        if (slot.section == kNone) return kNone;
        if (slot.hash == h && slot.section == section && slot.entry != kNone &&
            SameText(Text(FEntries[slot.entry].key), key))
            return slot.entry;
    }
}

std::uint32_t TIniFile::AddSection(std::string_view name) {
    const auto index = static_cast<std::uint32_t>(FSections.size());
    FSections.push_back(TSection{Append(name), kNone, kNone});
    AddSlot({FoldHash(name, kNone), index, kNone});
    return index;
}

void TIniFile::AddEntry(std::uint32_t section, TSpan key, TSpan value, bool haskey) {
    const auto index = static_cast<std::uint32_t>(FEntries.size());
    // Only the first entry of a key is found: later namesakes are kept as written.
    if (haskey && EntryIndex(section, Text(key)) == kNone) AddSlot({FoldHash(Text(key), section), section, index});
    FEntries.push_back(TEntry{key, value, kNone, haskey});
    TSection& sec = FSections[section];
    if (sec.last == kNone)
        sec.first = index;
    else
        FEntries[sec.last].next = index;
    sec.last = index;
}

void TIniFile::AddSlot(const TSlot& slot) {
    if ((FUsed + 1) * 2 > FSlots.size()) {
        std::vector<TSlot> old(std::max<std::size_t>(128, FSlots.size() * 2));
        old.swap(FSlots);
        FUsed = 0;
        for (const TSlot& s : old)
            if (s.section != kNone) AddSlot(s);
    }
    const std::size_t mask = FSlots.size() - 1;
    std::size_t i = slot.hash & mask;
    while (FSlots[i].section != kNone) i = (i + 1) & mask;
    FSlots[i] = slot;
    ++FUsed;
}

std::optional<std::string_view> TIniFile::Find(std::string_view section, std::string_view key) const {
    const std::uint32_t sec = SectionIndex(section);
    if (sec == kNone) return std::nullopt;
    const std::uint32_t entry = EntryIndex(sec, key);
    if (entry == kNone) return std::nullopt;
    return Text(FEntries[entry].value);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) const {
    return std::string(Find(section, key).value_or(def));
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // Texts taken from this model are copied first: appending may move the buffer under them.
    if (Inside(section) || Inside(key) || Inside(value)) {
        const std::string sec(section), k(key), v(value);
        WriteString(sec, k, v);
        return;
    }
    std::uint32_t sec = SectionIndex(section);
    if (sec == kNone) sec = AddSection(section);
    // One entry is one line: a line break inside the value would start a new entry.
    const TSpan v = Append(Trim(value));
    for (char* c = FText.data() + v.off; c != FText.data() + v.off + v.len; ++c)
        if (*c == '\r' || *c == '\n') *c = ' ';
    const std::uint32_t entry = EntryIndex(sec, key);
    if (entry != kNone) {
        TEntry& e = FEntries[entry];
        // The old texts stay unused in the buffer: a model is written a few dozen times.
        if (Text(e.key) != key) e.key = Append(key);
        e.value = v;
        return;
    }
    AddEntry(sec, Append(key), v, true);
}

}  // namespace brenvik
