#include "ais/vessels.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "model/strutil.h"
#include "platform.h"
#include "session.h"

namespace brenvik {
namespace {

// Numeric value of an MMSI text; text that is not a number counts as 0.
std::int64_t MmsiValue(std::string_view id) {
    std::int64_t v = 0;
    std::from_chars(id.data(), id.data() + id.size(), v);
    return v;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares two texts in upper case, character code by character code: <0, 0 or >0.
int CompareUpper(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(Upper(a[i]));
        const int cb = static_cast<unsigned char>(Upper(b[i]));
        if (ca != cb) return ca - cb;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigendian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        return bigendian ? static_cast<std::uint32_t>(b0 << 8 | b1) : static_cast<std::uint32_t>(b1 << 8 | b0);
    };
    auto put = [&out](std::uint32_t cp) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                put(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000) u = 0xFFFD;
        put(u);
    }
    return out;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    const char last = folder.back();
    return (last == '/' || last == '\\') ? folder + std::string(name) : folder + "/" + std::string(name);
}

}  // namespace

std::size_t TVhcls::Checked(std::int32_t ix) const {
    if (ix < 0 || ix >= count()) {
        if (platform) platform->ShowMessage(MsgKind::Error, "ERROR: Vehicle DB");
        throw std::out_of_range("List index out of bounds");
    }
    return static_cast<std::size_t>(ix);
}

void TVhcls::Clear() {
    while (!FList.empty()) FList.pop_back();
    FIndex.clear();
    prime = nullptr;
}

TVehicle* TVhcls::findvehicle(std::string_view vid) const {
    const auto it = FIndex.find(vid);
    return it == FIndex.end() ? nullptr : it->second;
}

TVehicle* TVhcls::findvehicle1(std::string_view vid) {
    FSign = 0;
    TVehicle* cur = prime;
    while (cur) {
        const int c = CompareUpper(vid, cur->id);
        if (c == 0) {
            FSign = 0;
            return cur;
        }
        // A change of direction means vid belongs between the cursor and this vessel.
        if ((c < 0 && FSign > 0) || (c > 0 && FSign < 0)) break;
        prime = cur;
        cur = c < 0 ? cur->prev : cur->next;
        FSign = c;
    }
    return nullptr;
}

// The first position whose MMSI is greater: the list stays in ascending MMSI order.
std::int32_t TVhcls::InsertPosition(std::int64_t mmsi) const {
    const auto it = std::upper_bound(FList.begin(), FList.end(), mmsi,
                                     [](std::int64_t m, const std::unique_ptr<TVehicle>& v) {
                                         return m < MmsiValue(v->id);
                                     });
    return static_cast<std::int32_t>(it - FList.begin());
}

TVehicle* TVhcls::MakeVehicle(std::int32_t mmsi, std::int32_t& row) {
    if (count() >= capacity) {
        row = 0;
        ++overflow;
        return nullptr;
    }
    auto owned = std::make_unique<TVehicle>();
    TVehicle* v = owned.get();
    if (prime) {
        if (FSign > 0) {
            v->prev = prime;
            v->next = prime->next;
            if (prime->next) prime->next->prev = v;
            prime->next = v;
        } else {
            v->next = prime;
            v->prev = prime->prev;
            if (prime->prev) prime->prev->next = v;
            prime->prev = v;
        }
    }
    const std::int32_t pos = InsertPosition(mmsi);
    FList.insert(FList.begin() + pos, std::move(owned));
    prime = v;
    ++row;
    return v;
}

void TVhcls::DeleteVehicle(std::int32_t vix) {
    TVehicle& v = Get(vix);
    if (v.next) v.next->prev = v.prev;
    if (v.prev) v.prev->next = v.next;
    prime = v.prev ? v.prev : v.next;
    if (const auto it = FIndex.find(v.id); it != FIndex.end() && it->second == &v) FIndex.erase(it);
    FList.erase(FList.begin() + vix);
    for (std::int32_t i = vix; i < count(); ++i) FList[static_cast<std::size_t>(i)]->ix = i;
}

void TVhcls::SetId(TVehicle& v, std::string_view id) {
    if (const auto it = FIndex.find(v.id); it != FIndex.end() && it->second == &v) FIndex.erase(it);
    v.id.assign(id);
    FIndex.try_emplace(v.id, &v);
}

std::string TVhcls::country(std::string_view id) const {
    std::string_view code = "QQ";
    const char first = id.empty() ? '\0' : id.front();
    if (first == '0') {
        code = "XG";
    } else if (first == '1') {
        code = "XX";
    } else if (first == '8') {
        code = "XR";
    } else if (first == '9') {
        code = "XN";
    } else if (const auto cc = FTables->mmsi2cc.find(id.substr(0, 3)); cc != FTables->mmsi2cc.end()) {
        code = cc->second;
    }
    const auto ctry = FTables->cc2ctry.find(code);
    return ctry == FTables->cc2ctry.end() ? std::string("QQ unknown") : ctry->second;
}

void TVhcls::SetTables(const std::vector<std::string>& mmsi2cclines, const std::vector<std::string>& cc2ctrylines) {
    auto tables = std::make_shared<TTables>();
    TTextMap& mmsi2cc = tables->mmsi2cc;
    TTextMap& cc2ctry = tables->cc2ctry;
    // try_emplace keeps the first line for a key: the files are searched from the top.
    for (const std::string& line : mmsi2cclines) {
        const std::string_view l = line;
        mmsi2cc.try_emplace(std::string(l.substr(0, 3)), l.size() > 4 ? std::string(l.substr(4, 2)) : std::string());
    }
    for (const std::string& line : cc2ctrylines) {
        const std::string_view l = line;
        const auto paren = l.find('(');
        const std::string_view text = paren == std::string_view::npos ? l : Trim(l.substr(0, paren));
        cc2ctry.try_emplace(std::string(l.substr(0, 2)), std::string(text));
    }
    FTables = std::move(tables);
}

std::vector<std::string> TextLines(std::string_view bytes) {
    std::string converted;
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    } else if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
        converted = Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
        bytes = converted;
    }
    std::vector<std::string> lines;
    std::size_t p = 0;
    while (p < bytes.size()) {
        const std::size_t e = bytes.find_first_of("\r\n", p);
        if (e == std::string_view::npos) {
            lines.emplace_back(bytes.substr(p));
            break;
        }
        lines.emplace_back(bytes.substr(p, e - p));
        p = e + 1;
        if (bytes[e] == '\r' && p < bytes.size() && bytes[p] == '\n') ++p;
    }
    return lines;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::FILE* fp = std::fopen(path.c_str(), "rb");
    if (!fp) return false;
    std::string bytes;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) bytes.append(buf, n);
    const bool failed = std::ferror(fp) != 0;
    std::fclose(fp);
    if (failed) return false;
    lines = TextLines(bytes);
    return true;
}

void CreateVhcls(Session& s, const std::string& folder) { CreateVhcls(s, std::vector<std::string>{folder}); }

void CreateVhcls(Session& s, const std::vector<std::string>& folders) {
    s.vehicles.Clear();
    s.vehicles.platform = &s.platform;
    std::vector<std::string> tables[2];
    constexpr std::string_view names[2] = {"mmsi2cc.txt", "cc2ctry.txt"};
    for (int i = 0; i < 2; ++i) {
        // Each table from the first folder that has it; the message names every place tried.
        std::string tried;
        bool found = false;
        for (const std::string& folder : folders) {
            const std::string path = JoinPath(folder, names[i]);
            if (ReadTextLines(path, tables[i])) {
                found = true;
                break;
            }
            tried += (tried.empty() ? "" : " or ") + path;
        }
        if (!found)
            s.platform.ShowMessage(MsgKind::Warning,
                                   "Cannot read the lookup file " + tried + ". Vessels' countries will show as unknown.");
    }
    s.vehicles.SetTables(tables[0], tables[1]);
}

std::vector<std::string> LookupFolders(const std::string& programfolder) {
    const std::filesystem::path installed = std::filesystem::path(programfolder) / ".." / "share" / "brenvik";
    return {programfolder, installed.lexically_normal().string()};
}

}  // namespace brenvik
