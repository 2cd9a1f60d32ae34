// The vessel registry: order, chain and cursor, deletion, country lookup and lookup files.
#include "ais/vessels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "session.h"
#include "support/fakeplatform.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

// Creates vessels the way the decoder does: a new one next to the cursor, its id set at once.
TVehicle* Add(TVhcls& r, std::int32_t mmsi) {
    std::int32_t row = -1;
    TVehicle* v = r.MakeVehicle(mmsi, row);
    if (v) r.SetId(*v, Fmt("%9.9d", mmsi));
    return v;
}

std::vector<std::string> Ids(const TVhcls& r) {
    std::vector<std::string> ids;
    for (std::int32_t i = 0; i < r.count(); ++i) ids.push_back(r[i].id);
    return ids;
}

TEST(Vehicles, ListedInMmsiOrderWhateverTheArrival) {
    std::vector<std::int32_t> mmsis{366000003, 211000001, 244000002, 2320061, 1073741823};
    std::vector<std::string> sorted{"002320061", "211000001", "244000002", "366000003", "1073741823"};
    std::sort(mmsis.begin(), mmsis.end());
    do {
        TVhcls r;
        for (std::int32_t m : mmsis) Add(r, m);
        ASSERT_EQ(Ids(r), sorted);
        for (std::int32_t m : mmsis) EXPECT_NE(r.findvehicle(Fmt("%9.9d", m)), nullptr);
    } while (std::next_permutation(mmsis.begin(), mmsis.end()));
}

TEST(Vehicles, EachNewVesselJoinsTheChainBeforeThePreviousOne) {
    TVhcls r;
    TVehicle* a = Add(r, 300000000);
    TVehicle* b = Add(r, 100000000);
    TVehicle* c = Add(r, 200000000);
    EXPECT_EQ(r.prime, c);
    EXPECT_EQ(c->next, b);
    EXPECT_EQ(b->next, a);
    EXPECT_EQ(a->prev, b);
    EXPECT_EQ(c->prev, nullptr);
    EXPECT_EQ(a->next, nullptr);
    r.Clear();
    EXPECT_EQ(r.count(), 0);
    EXPECT_EQ(r.prime, nullptr);
    EXPECT_EQ(r.findvehicle("300000000"), nullptr);
    TVehicle* d = Add(r, 400000000);
    EXPECT_EQ(d->next, nullptr);
    EXPECT_EQ(d->prev, nullptr);
}

TEST(Vehicles, WalkFindsOrPlacesInAChainInOrder) {
    // Build an ordered chain through findvehicle1, which leaves the cursor where a vessel belongs.
    TVhcls r;
    for (std::int32_t m : {500000000, 300000000, 700000000, 400000000, 600000000, 100000000}) {
        const std::string id = Fmt("%9.9d", m);
        ASSERT_EQ(r.findvehicle1(id), nullptr);
        std::int32_t row = 0;
        r.SetId(*r.MakeVehicle(m, row), id);
    }
    const TVehicle* first = &r[0];
    while (first->prev) first = first->prev;
    std::vector<std::string> chain;
    for (const TVehicle* v = first; v; v = v->next) chain.push_back(v->id);
    EXPECT_EQ(chain, Ids(r));
    TVehicle* found = r.findvehicle1("400000000");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->id, "400000000");
    EXPECT_EQ(r.sign(), 0);
    EXPECT_EQ(r.findvehicle1("450000000"), nullptr);
}

TEST(Vehicles, DeleteUnlinksAndRenumbers) {
    TVhcls r;
    TVehicle* a = Add(r, 100000000);
    Add(r, 200000000);
    TVehicle* c = Add(r, 300000000);
    r.DeleteVehicle(1);
    EXPECT_EQ(Ids(r), (std::vector<std::string>{"100000000", "300000000"}));
    EXPECT_EQ(r[1].ix, 1);
    EXPECT_EQ(r.findvehicle("200000000"), nullptr);
    // Chain was c -> b -> a; b is gone.
    EXPECT_EQ(c->next, a);
    EXPECT_EQ(a->prev, c);
    EXPECT_EQ(r.prime, c);
}

TEST(Vehicles, FullRegistryRefuses) {
    TVhcls r;
    for (std::int32_t i = 0; i < TVhcls::capacity; ++i) ASSERT_NE(Add(r, 200000000 + i), nullptr);
    std::int32_t row = 5;
    EXPECT_EQ(r.MakeVehicle(300000000, row), nullptr);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(r.overflow, 1);
    EXPECT_EQ(r.count(), TVhcls::capacity);
}

TEST(Vehicles, WrongIndexShowsTheMessageThenFails) {
    test::FakePlatform p;
    TVhcls r;
    r.platform = &p;
    Add(r, 100000000);
    EXPECT_EQ(r.Get(0).id, "100000000");
    EXPECT_THROW(r.Get(1), std::out_of_range);
    EXPECT_THROW(r.Get(-1), std::out_of_range);
    EXPECT_EQ(p.Texts(), (std::vector<std::string>{"ERROR: Vehicle DB", "ERROR: Vehicle DB"}));
}

TEST(Vehicles, CountryLookup) {
    TVhcls r;
    r.SetTables({"235 GB", "235 FR", "2", "244 nl", "366 US", "338 QQ", "216 (M"},
                {"GB United Kingdom (UK)", "GB Great Britain", "FR France", "nl Netherlands  ",
                 "XG Coast station (00MID)", "XN (aid)", "NL Holland", "(M Malta"});
    struct Case {
        const char* id;
        const char* ctry;
    };
    const Case cases[] = {
        {"235000001", "GB United Kingdom"},  // first match wins in both tables
        {"244000002", "nl Netherlands  "},   // lower case matches lower case; no "(": whole line
        {"366000003", "QQ unknown"},         // code without a country line
        {"338000004", "QQ unknown"},
        {"211000005", "QQ unknown"},         // not in the table
        {"002320061", "XG Coast station"},   // 0: coast station, never the MID table
        {"992351234", "XN"},
        {"216000006", ""},                   // a line that begins with "(" gives empty text
        {"111232001", "QQ unknown"},         // XX absent
        {"823500001", "QQ unknown"},         // XR absent, although 235 would match
        {"", "QQ unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(r.country(c.id), c.ctry);
    }
    r.SetTables({}, {});
    EXPECT_EQ(r.country("235000001"), "QQ unknown");
}

TEST(Vehicles, TextLinesHonourByteOrderMarksAndLineEnds) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"CR LF", "235 GB\r\n244 NL\r\n", {"235 GB", "244 NL"}},
        {"LF, no final end", "235 GB\n244 NL", {"235 GB", "244 NL"}},
        {"CR", "235 GB\r244 NL\r", {"235 GB", "244 NL"}},
        {"empty line kept", "a\n\nb\n", {"a", "", "b"}},
        {"UTF-8 mark", "\xEF\xBB\xBF" "235 GB\n", {"235 GB"}},
        {"UTF-16 LE", std::string("\xFF\xFE" "2\0" "3\0" "5\0" " \0" "G\0" "B\0" "\r\0" "\n\0" "\xE9\0", 20),
         {"235 GB", "\xC3\xA9"}},
        {"UTF-16 BE", std::string("\xFE\xFF" "\0G" "\0B" "\0\n" "\xD8\x3D\xDE\x00", 12), {"GB", "\xF0\x9F\x98\x80"}},
        {"odd UTF-16 byte", std::string("\xFF\xFE" "A\0" "B", 5), {"A"}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextLines(c.bytes), c.lines);
    }
}

TEST(Vehicles, CreateReadsBothFilesAndWarnsAboutMissingOnes) {
    const test::TempDir tmp;
    const std::filesystem::path& dir = tmp.path();
    std::ofstream(dir / "mmsi2cc.txt", std::ios::binary) << "\xEF\xBB\xBF" "235 GB\r\n";
    test::FakePlatform p;
    Session s(p);
    CreateVhcls(s, dir.string());
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].kind, MsgKind::Warning);
    EXPECT_NE(p.messages[0].text.find("cc2ctry.txt"), std::string::npos);
    EXPECT_EQ(s.vehicles.country("235000001"), "QQ unknown");
    std::ofstream(dir / "cc2ctry.txt", std::ios::binary) << "GB United Kingdom (UK)\r\n";
    p.messages.clear();
    CreateVhcls(s, dir.string() + "/");
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(s.vehicles.country("235000001"), "GB United Kingdom");
    // A folder in place of a file reads as missing.
    p.messages.clear();
    CreateVhcls(s, (dir / "mmsi2cc.txt").string());
    EXPECT_EQ(p.messages.size(), 2u);
}

TEST(Vehicles, InstalledProgramsLookBesideThemselvesThenInShare) {
    EXPECT_EQ(LookupFolders("/opt/nav/bin"), (std::vector<std::string>{"/opt/nav/bin", "/opt/nav/share/brenvik"}));
    EXPECT_EQ(LookupFolders("/usr/bin/")[1], "/usr/share/brenvik");
}

TEST(Vehicles, EachTableFromTheFirstFolderThatHoldsIt) {
    const test::TempDir tmp;
    const std::filesystem::path bin = tmp.path() / "bin", share = tmp.path() / "share";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);
    std::ofstream(bin / "mmsi2cc.txt") << "235 GB\n";
    std::ofstream(share / "mmsi2cc.txt") << "235 XY\n";
    std::ofstream(share / "cc2ctry.txt") << "GB United Kingdom (UK)\nXY Elsewhere\n";
    test::FakePlatform p;
    Session s(p);
    CreateVhcls(s, std::vector<std::string>{bin.string(), share.string()});
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(s.vehicles.country("235000001"), "GB United Kingdom");
    std::filesystem::remove(share / "cc2ctry.txt");
    CreateVhcls(s, std::vector<std::string>{bin.string(), share.string()});
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, "Cannot read the lookup file " + (bin / "cc2ctry.txt").string() + " or " +
                                      (share / "cc2ctry.txt").string() +
                                      ". Vessels' countries will show as unknown.");
    EXPECT_EQ(s.vehicles.country("235000001"), "QQ unknown");
}

TEST(Vehicles, ShippedTablesCoverTheSpecialCodes) {
    test::FakePlatform p;
    Session s(p);
    CreateVhcls(s, BRENVIK_SOURCE_DIR "/data");
    EXPECT_TRUE(p.messages.empty());
    struct Case {
        const char* id;
        const char* ctry;
    };
    const Case cases[] = {
        {"235000001", "GB United Kingdom"}, {"244000002", "NL Netherlands"},   {"366000003", "US United States"},
        {"204000004", "PT Portugal"},       {"775000005", "VE Venezuela"},     {"002320061", "XG Coast station or group of ships"},
        {"111232001", "XX SAR aircraft"},   {"823500001", "XR Handheld VHF radio"},
        {"992351234", "XN Aid to navigation or distress device"},              {"200000000", "QQ unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(s.vehicles.country(c.id), c.ctry);
    }
}

}  // namespace
}  // namespace brenvik
