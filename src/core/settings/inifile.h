#pragma once
// A small ini-file model: sections of entries, both kept in file order. Reading takes UTF-8
// with or without a byte-order mark and any of CR, LF or CR LF as line end; writing gives a
// byte-order mark and CR LF. Saving never leaves a half-written file behind.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brenvik {

class TIniFile {
public:
    enum class LoadResult { Loaded, Missing, Failed, Damaged };

    // Missing: no such file (the model is then empty). Failed: the path exists but is not a
    // readable regular file of sane size; the model is left as it was. Damaged: read as any
    // text is, but it is no settings text: it holds control characters other than tab, CR and
    // LF (binary bytes), or it begins with the byte-order mark a writer puts first and ends
    // inside a line (cut short).
    LoadResult LoadFromFile(const std::string& path);
    static bool IsDamaged(std::string_view text);
    void LoadFromText(std::string_view text);
    // The whole file as written: byte-order mark, sections, CR LF line ends.
    std::string ToText() const;
    // Writes a temporary file beside `path` and renames it over `path`; on failure `path` is
    // untouched and no temporary file stays behind. A file or folder marked read-only (no
    // write permission for anyone) is refused, also for a user the system would let write it.
    bool SaveToFile(const std::string& path) const;

    // Section names and keys match without regard to ASCII letter case. The view is valid
    // until the model next changes.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // Replaces the first entry of that key (which then takes this spelling) or appends one;
    // a missing section is appended. Line breaks in the value become blanks.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Empties the model; what it had allocated is kept for the next text.
    void Clear();

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    // A run of FText.
    struct TSpan {
        std::uint32_t off = 0;
        std::uint32_t len = 0;
    };
    // The texts of every name, key and value are runs of one buffer, and the entries of all
    // sections one list, each section chaining its own in file order: reading a file takes a
    // few allocations, not two for every line.
    struct TEntry {
        TSpan key;  // the whole line when haskey is false
        TSpan value;
        std::uint32_t next = kNone;  // the section's next entry
        bool haskey = true;          // false: a line without "=", kept as written
    };
    struct TSection {
        TSpan name;
        std::uint32_t first = kNone;
        std::uint32_t last = kNone;
    };

    // Where a section, or the first entry of a key in a section, is: found by a hash of the
    // name with its letters made small, so that a lookup costs the same in a file of many
    // entries (every field of the catalogue reads and writes its own key).
    struct TSlot {
        std::uint32_t hash = 0;
        std::uint32_t section = kNone;  // kNone: a free slot
        std::uint32_t entry = kNone;    // kNone: the slot of the section itself
    };

    std::uint32_t SectionIndex(std::string_view name) const;
    std::uint32_t EntryIndex(std::uint32_t section, std::string_view key) const;
    std::uint32_t AddSection(std::string_view name);
    // Appends an entry to section and indexes its key unless the section has that key already.
    void AddEntry(std::uint32_t section, TSpan key, TSpan value, bool haskey);
    void AddSlot(const TSlot& slot);
    // Copies text to the end of FText; text must not lie in FText.
    TSpan Append(std::string_view text);
    bool Inside(std::string_view text) const;
    std::string_view Text(TSpan span) const { return std::string_view(FText.data() + span.off, span.len); }

    std::string FText;
    std::vector<TSection> FSections;
    std::vector<TEntry> FEntries;
    std::vector<TSlot> FSlots;  // open addressing, a power of two in size, at most half full
    std::size_t FUsed = 0;
};

// The name of the temporary file SaveToFile writes beside `path`.
std::string IniTempPath(const std::string& path);

}  // namespace brenvik
