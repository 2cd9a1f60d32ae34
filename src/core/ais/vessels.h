#pragma once
// The vessel registry: one TVehicle per MMSI, in ascending MMSI order, with the country
// lookup tables read from "mmsi2cc.txt" and "cc2ctry.txt".
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/vessel.h"

namespace brenvik {

class Platform;
class Session;

// Hash of texts that also accepts string_views, so lookups need no temporary string.
struct TTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};
using TTextMap = std::unordered_map<std::string, std::string, TTextHash, std::equal_to<>>;

class TVhcls {
public:
    static constexpr std::int32_t capacity = 50000;

    std::int32_t atrow = 0;
    std::int32_t updated = 0;
    std::int32_t overflow = 0;
    TVehicle* prime = nullptr;  // cursor into the chain
    bool confirm = true;
    Platform* platform = nullptr;  // where "ERROR: Vehicle DB" goes; none: not shown

    std::int32_t count() const { return static_cast<std::int32_t>(FList.size()); }
    bool empty() const { return FList.empty(); }
    std::int32_t sign() const { return FSign; }

    // "ERROR: Vehicle DB" and std::out_of_range for a position outside the list.
    const TVehicle& Get(std::int32_t ix) const { return *FList[Checked(ix)]; }
    TVehicle& Get(std::int32_t ix) { return *FList[Checked(ix)]; }
    const TVehicle& operator[](std::int32_t ix) const { return Get(ix); }

    // Frees every vessel and drops the chain; counters and lookup tables stay.
    void Clear();
    // The vessel whose id is exactly vid, or none.
    TVehicle* findvehicle(std::string_view vid) const;
    // Walks the chain from the cursor; leaves the cursor and the sign where vid belongs.
    TVehicle* findvehicle1(std::string_view vid);
    // A new vessel in MMSI order next to the cursor, or none when the registry is full.
    TVehicle* MakeVehicle(std::int32_t mmsi, std::int32_t& row);
    void DeleteVehicle(std::int32_t vix);
    // Sets a vessel's MMSI text and keeps the index in step.
    void SetId(TVehicle& v, std::string_view id);

    // Country text for an MMSI text: "CC Country", or "QQ unknown".
    std::string country(std::string_view id) const;
    // Lookup tables from the lines of the two files; the first line for a key wins.
    void SetTables(const std::vector<std::string>& mmsi2cclines, const std::vector<std::string>& cc2ctrylines);
    // The lookup tables of another registry, shared instead of built again (tables never
    // change once set: SetTables makes new ones).
    void ShareTables(const TVhcls& other) { FTables = other.FTables; }

private:
    std::size_t Checked(std::int32_t ix) const;
    std::int32_t InsertPosition(std::int64_t mmsi) const;

    std::vector<std::unique_ptr<TVehicle>> FList;
    std::int32_t FSign = 0;
    std::unordered_map<std::string, TVehicle*, TTextHash, std::equal_to<>> FIndex;
    struct TTables {
        TTextMap mmsi2cc;  // leading three digits -> country code
        TTextMap cc2ctry;  // country code -> country text
    };
    std::shared_ptr<const TTables> FTables = std::make_shared<const TTables>();
};

// Empties the registry and loads both lookup files from `folder`. A file that cannot be read
// leaves its table empty (every country then reads unknown) and is reported as a warning.
void CreateVhcls(Session& s, const std::string& folder);
// The same, each table taken from the first of `folders` that holds it; the warning for a
// table found nowhere names every path tried.
void CreateVhcls(Session& s, const std::vector<std::string>& folders);
// Where a program in `programfolder` finds its tables: beside itself (the build tree), then
// ../share/brenvik from there (installed under a prefix).
std::vector<std::string> LookupFolders(const std::string& programfolder);

// Lines of a text file: UTF-8 or UTF-16 byte-order mark honoured, CR LF, LF or CR ends.
// False when the file cannot be opened.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);
// Lines of text already in memory, by the same rules.
std::vector<std::string> TextLines(std::string_view bytes);

}  // namespace brenvik
