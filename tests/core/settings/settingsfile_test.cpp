#include "settings/settingsfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "support/tempdir.h"
#include "session.h"
#include "settings/inifile.h"
#include "support/fakeplatform.h"

namespace brenvik {
namespace {

using test::FakePlatform;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kDefaultFile =
    "\xEF\xBB\xBF"
    "[FILES]\r\nlastfile=\r\nsettings=\r\nSavedExt=.csv\r\n\r\n"
    "[GENERAL]\r\nGenModes=NCNNN\r\nFormats=DDN\r\nunits=MM\r\npagesize=200\r\nNoLimits=N\r\n\r\n"
    "[WPARMS]\r\nSplitter=120\r\nBounds=200,80,1160,800\r\n\r\n"
    "[FLDDEF]\r\n"
    "Fielddef000=Source#,75,1,0\r\nFielddef001=VDRDate,70,1,1\r\nFielddef002=VDRTime,68,1,2\r\n"
    "Fielddef003=Offset,50,1,3\r\nFielddef004=Date,70,1,4\r\nFielddef005=Time,68,1,5\r\n"
    "Fielddef006=Latitude,75,1,6\r\nFielddef007=Longitude,84,1,7\r\nFielddef008=Depth,50,0,8\r\n"
    "Fielddef009=Speed,47,1,9\r\nFielddef010=Heading,57,0,10\r\nFielddef011=WindSpd,70,1,11\r\n"
    "Fielddef012=WaterSpd,70,1,12\r\nFielddef013=\"R of Turn\",72,1,13\r\n"
    "Fielddef014=Proprietary,150,1,14\r\nFielddef015=LonglWSpd,70,1,15\r\n"
    "Fielddef016=TransWSpd,70,1,16\r\nFielddef017=\"V M G\",70,1,17\r\n"
    "Fielddef018=Ant.Altitude,70,1,18\r\nFielddef019=Alarms,150,1,19\r\nFielddef020=HDOP,45,1,20\r\n"
    "Fielddef021=S.Rudder,70,1,21\r\nFielddef022=P.Rudder,70,1,22\r\n\r\n"
    "[GRID]\r\nfields=0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22\r\n\r\n"
    "[EVENTS]\r\nThresholds=1,2147483647,2147483647\r\nCPALimit=0.5\r\nTCPAWindow=20\r\n\r\n";

std::array<int, kEventFieldCount> Order(std::initializer_list<int> head) {
    std::array<int, kEventFieldCount> o{};
    for (std::size_t i = 0; i < o.size(); ++i) o[i] = static_cast<int>(i);
    std::size_t i = 0;
    for (int n : head) o[i++] = n;
    return o;
}

// Everything ReadSettings and WriteSettings carry, for whole-state comparisons (vis is not
// stored: it follows kind when an entry is read).
void ExpectSameSettings(const Session& a, const Session& b) {
    const TSettings& x = a.settings;
    const TSettings& y = b.settings;
    EXPECT_EQ(x.timethresh, y.timethresh);
    EXPECT_EQ(x.distthresh, y.distthresh);
    EXPECT_EQ(x.alarmthresh, y.alarmthresh);
    EXPECT_EQ(std::vector<bool>({x.reopenlast, x.verifychecksum, x.ignorevdr, x.autoshowvalid, x.autowidths,
                                 x.rotations}),
              std::vector<bool>({y.reopenlast, y.verifychecksum, y.ignorevdr, y.autoshowvalid, y.autowidths,
                                 y.rotations}));
    EXPECT_EQ(std::string({x.coordformat, x.dateformat, x.parms.hunits, x.parms.vunits}),
              std::string({y.coordformat, y.dateformat, y.parms.hunits, y.parms.vunits}));
    EXPECT_EQ(x.pagesize, y.pagesize);
    EXPECT_EQ(x.cpalimit, y.cpalimit);
    EXPECT_EQ(x.tcpawindow, y.tcpawindow);
    EXPECT_EQ(x.splitterpos, y.splitterpos);
    EXPECT_EQ(x.windowbounds, y.windowbounds);
    EXPECT_EQ(x.recentfiles, y.recentfiles);
    EXPECT_EQ(x.lastfile, y.lastfile);
    EXPECT_EQ(x.lastfolder, y.lastfolder);
    EXPECT_EQ(x.savedext, y.savedext);
    EXPECT_EQ(x.settingsfile, y.settingsfile);
    EXPECT_EQ(a.fields.fieldorder, b.fields.fieldorder);
    for (std::size_t n = 0; n < a.fields.fields.size(); ++n) {
        SCOPED_TRACE(n);
        const TFieldState& f = a.fields.fields[n];
        const TFieldState& g = b.fields.fields[n];
        EXPECT_EQ(f.head, g.head);
        EXPECT_EQ(f.wdth, g.wdth);
        EXPECT_EQ(f.kind, g.kind);
        EXPECT_EQ(f.ordr, g.ordr);
    }
}

class SettingsFile : public ::testing::Test {
protected:
    FakePlatform platform;
    Session s{platform};
    TempDir tmp;
    std::string path = tmp.File("brenv.ini");

    bool ReadText(const std::string& text) {
        WriteFile(path, text);
        return ReadSettings(s, path);
    }
};

TEST_F(SettingsFile, DefaultsWriteTheDefaultFile) {
    ASSERT_TRUE(WriteSettings(s, path));
    EXPECT_EQ(ReadFile(path), kDefaultFile);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SettingsFile, MissingAndEmptyFilesGiveTheDefaults) {
    for (bool exists : {false, true}) {
        SCOPED_TRACE(exists);
        FakePlatform p2;
        Session changed{p2};
        changed.settings.timethresh = 60;
        changed.settings.verifychecksum = false;
        changed.settings.recentfiles = {"x"};
        changed.settings.splitterpos = 300;
        changed.fields.fieldorder = Order({0, 9, 8});
        if (exists) WriteFile(path, "");
        else std::filesystem::remove(path);
        ASSERT_TRUE(ReadSettings(changed, path));
        Session fresh{p2};
        ExpectSameSettings(changed, fresh);
        EXPECT_TRUE(p2.messages.empty());
    }
    // Depth and Heading start as hidden and only a stored kind 1 shows them.
    EXPECT_FALSE(s.fields.fields[fDepth].vis);
    ASSERT_TRUE(ReadText("[GRID]\nfields=0,8,10\n[FLDDEF]\nFielddef008=Depth,50,1,8\nFielddef010=Heading,57,1,10\n"));
    EXPECT_TRUE(s.fields.fields[fDepth].vis);
    EXPECT_TRUE(s.fields.fields[fHeading].vis);
}

TEST_F(SettingsFile, ChangedSettingsRoundTrip) {
    TSettings& st = s.settings;
    st.timethresh = 30;
    st.distthresh = 500;
    st.alarmthresh = 2;
    st.reopenlast = true;
    st.verifychecksum = false;
    st.ignorevdr = true;
    st.autoshowvalid = true;
    st.autowidths = true;
    st.coordformat = 'S';
    st.dateformat = 'Y';
    st.rotations = true;
    st.parms = {'N', 'F'};
    st.pagesize = 64;
    st.cpalimit = 0.25 * 1852;
    st.tcpawindow = 300;
    st.splitterpos = 250;
    st.windowbounds = {-8, -8, 1928, 1048};
    st.recentfiles = {"/logs/b c.nmea", "/x=y/a.log", "rel.txt"};
    st.lastfile = "/logs/b c.nmea";
    st.lastfolder = "/logs/";
    st.savedext = ".kml";
    st.settingsfile = "/home/u/mysettings.ini";
    s.fields.fieldorder = Order({0, 19, 5, 6, 7, 1, 2, 3, 4, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
    s.fields.fields[fSpeed] = {false, 9, 0, 44, "Spd \"SOG\", kn", {}, false, false};
    s.fields.fields[fDepth] = {false, 8, 7, 120, "", {}, false, false};
    s.fields.fields[fAlarms] = {true, 19, 1, -3, "  Alarm  text ", {}, false, false};

    ASSERT_TRUE(WriteSettings(s, path));
    FakePlatform p2;
    Session back{p2};
    ASSERT_TRUE(ReadSettings(back, path));
    ExpectSameSettings(s, back);
    for (const TFieldState& f : back.fields.fields) EXPECT_EQ(f.vis, f.kind == 1) << f.head;
    EXPECT_TRUE(p2.messages.empty());
    EXPECT_NE(ReadFile(path).find("Fielddef009=\"Spd \"\"SOG\"\", kn\",44,0,9\r\n"), std::string::npos);
}

TEST_F(SettingsFile, ValuesReadAsTheirRulesSay) {
    struct Case {
        const char* name;
        std::string text;
        std::function<void(const Session&)> check;
    };
    const Case cases[] = {
        {"a file from before the encounter limits, and limits that are no numbers, read the defaults",
         "[EVENTS]\nThresholds=5,6,7\n[events]\ncpalimit=half\n",
         [](const Session& x) {
             EXPECT_EQ(x.settings.timethresh, 5);
             EXPECT_EQ(x.settings.cpalimit, 926);
             EXPECT_EQ(x.settings.tcpawindow, 1200);
         }},
        {"encounter limits in nautical miles and minutes", "[EVENTS]\nCPALimit= 1.5 \nTCPAWindow=45\n",
         [](const Session& x) {
             EXPECT_EQ(x.settings.cpalimit, 1.5 * 1852);
             EXPECT_EQ(x.settings.tcpawindow, 2700);
         }},
        {"GenModes R pads with N", "[GENERAL]\nGenModes=R\n",
         [](const Session& x) {
             EXPECT_TRUE(x.settings.reopenlast);
             EXPECT_FALSE(x.settings.verifychecksum || x.settings.ignorevdr || x.settings.autoshowvalid ||
                          x.settings.autowidths);
         }},
        {"GenModes letters other than the codes are off", "[general]\ngenmodes=YRYYYY\n",
         [](const Session& x) {
             EXPECT_FALSE(x.settings.reopenlast || x.settings.verifychecksum);
             EXPECT_TRUE(x.settings.ignorevdr && x.settings.autoshowvalid && x.settings.autowidths);
         }},
        {"a file from before NoLimits keeps the capacities", "[GENERAL]\nGenModes=RCYYY\npagesize=500\n",
         [](const Session& x) { EXPECT_FALSE(x.settings.nolimits); }},
        {"NoLimits Y lifts them", "[general]\nnolimits=Y\n", [](const Session& x) { EXPECT_TRUE(x.settings.nolimits); }},
        {"Splitter below the minimum", "[WPARMS]\nSplitter=50\n",
         [](const Session& x) { EXPECT_EQ(x.settings.splitterpos, 96); }},
        {"Splitter not a number", "[WPARMS]\nSplitter=abc\n",
         [](const Session& x) { EXPECT_EQ(x.settings.splitterpos, 120); }},
        {"pagesize not a number", "[GENERAL]\npagesize=1.5\n",
         [](const Session& x) { EXPECT_EQ(x.settings.pagesize, 200); }},
        {"short MGmodes and units take their defaults", "[GENERAL]\nMGmodes=A\nunits=K\n",
         [](const Session& x) {
             EXPECT_EQ(std::string({x.settings.memomode, x.settings.gridmode}), "RN");
             EXPECT_EQ(std::string({x.settings.parms.hunits, x.settings.parms.vunits}), "MM");
         }},
        {"letters taken unchanged", "[GENERAL]\nMGmodes=SB\nunits=KT\nFormats=NYR\n",
         [](const Session& x) {
             EXPECT_EQ(std::string({x.settings.memomode, x.settings.gridmode, x.settings.parms.hunits,
                                    x.settings.parms.vunits, x.settings.coordformat, x.settings.dateformat}),
                       "SBKTNY");
             EXPECT_TRUE(x.settings.rotations);
         }},
        {"short Formats lacks the later letters", "[GENERAL]\nFormats=M\n",
         [](const Session& x) {
             EXPECT_EQ(x.settings.coordformat, 'M');
             EXPECT_EQ(x.settings.dateformat, ' ');
             EXPECT_FALSE(x.settings.rotations);
         }},
        {"empty Formats", "[GENERAL]\nFormats=\n",
         [](const Session& x) { EXPECT_EQ(std::string({x.settings.coordformat, x.settings.dateformat}), "DD"); }},
        {"empty SavedExt", "[FILES]\nSavedExt=\nsettings=/a/s.ini\n",
         [](const Session& x) {
             EXPECT_EQ(x.settings.savedext, ".csv");
             EXPECT_EQ(x.settings.settingsfile, "/a/s.ini");
         }},
        {"recent files skip empty and unnumbered entries", "[FILES]\nlastfile=/old.log\nFile01=\nFile03=/d/b.log\n"
                                                            "File00=/d/a.log\nFile10=/no.log\nFile9=/no2.log\n",
         [](const Session& x) {
             EXPECT_EQ(x.settings.recentfiles, (std::vector<std::string>{"/d/a.log", "/d/b.log"}));
             EXPECT_EQ(x.settings.lastfile, "/d/a.log");
             EXPECT_EQ(x.settings.lastfolder, "/d/");
         }},
        {"recent files never repeat a path", "[FILES]\nFile00=/a\nFile01=/b\nFile02=/a\nFile03=/b\nFile04=/c\n",
         [](const Session& x) {
             EXPECT_EQ(x.settings.recentfiles, (std::vector<std::string>{"/a", "/b", "/c"}));
         }},
        {"Bounds", "[WPARMS]\nBounds= -4, 0,+800 ,600,99\n",
         [](const Session& x) { EXPECT_EQ(x.settings.windowbounds, (std::array<std::int32_t, 4>{-4, 0, 800, 600})); }},
        {"Thresholds as comma text", "[EVENTS]\nThresholds=\"60\" , 2147483647,2,9\n",
         [](const Session& x) {
             EXPECT_EQ(x.settings.timethresh, 60);
             EXPECT_EQ(x.settings.distthresh, 2147483647);
             EXPECT_EQ(x.settings.alarmthresh, 2);
         }},
        {"fields 0,5,2 reads only their entries",
         "[GRID]\nfields=0,5,2\n[FLDDEF]\nFielddef000=No.,40,1,0\nFielddef001=Never,1,0,1\n"
         "Fielddef005=Clock,80,0,5\nFielddef002=\"VDR T\",60,2,2\nFielddef003=Never,1,0,3\n",
         [](const Session& x) {
             EXPECT_EQ(x.fields.fieldorder, Order({0, 5, 2}));
             const auto& f = x.fields.fields;
             EXPECT_EQ(f[0].head, "No.");
             EXPECT_EQ(f[0].wdth, 40);
             EXPECT_TRUE(f[0].vis);
             EXPECT_EQ(f[5].head, "Clock");
             EXPECT_FALSE(f[5].vis);
             EXPECT_EQ(f[5].kind, 0);
             EXPECT_EQ(f[2].head, "VDR T");
             EXPECT_FALSE(f[2].vis);
             EXPECT_EQ(f[1].head, "VDRDate");
             EXPECT_EQ(f[3].head, "Offset");
         }},
        {"kind 2 and odd kinds hide", "[GRID]\nfields=0,9,11,12\n[FLDDEF]\nFielddef009=Speed,47,2,9\n"
                                      "Fielddef011=W,70,300,11\nFielddef012=X,70,-1,70000\n",
         [](const Session& x) {
             const auto& f = x.fields.fields;
             EXPECT_FALSE(f[9].vis || f[11].vis || f[12].vis);
             EXPECT_EQ(f[9].kind, 2);
             EXPECT_GE(f[11].kind, 2);
             EXPECT_GE(f[12].kind, 2);
         }},
        {"an absent entry keeps the field", "[GRID]\nfields=0,13\n[FLDDEF]\nFielddef013=*\n",
         [](const Session& x) { EXPECT_EQ(x.fields.fields[13].head, "R of Turn"); }},
        {"field numbers outside 0 to 22 are ignored", "[GRID]\nfields=99,-1,3,23,7\n",
         [](const Session& x) { EXPECT_EQ(x.fields.fieldorder, Order({3, 7})); }},
        {"items after the 23rd position are ignored",
         "[GRID]\nfields=22,21,20,19,18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0,5,x\n",
         [](const Session& x) {
             EXPECT_EQ(x.fields.fieldorder.front(), 22);
             EXPECT_EQ(x.fields.fieldorder.back(), 0);
         }},
        {"empty fields list", "[GRID]\nfields=\n", [](const Session& x) { EXPECT_EQ(x.fields.fieldorder, Order({})); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform p;
        Session x{p};
        WriteFile(path, c.text);
        EXPECT_TRUE(ReadSettings(x, path));
        EXPECT_TRUE(p.messages.empty());
        c.check(x);
    }
}

TEST_F(SettingsFile, NonIntegerStopsReadingWhereItStands) {
    struct Case {
        const char* name;
        std::string text;
        std::string bad;
        std::function<void(const Session&)> check;
    };
    // Every file also holds settings before and after the bad value.
    const std::string tail = "[EVENTS]\nThresholds=5,6,7\n";
    const Case cases[] = {
        {"Bounds", "[GENERAL]\nGenModes=RNNNN\n[WPARMS]\nBounds=1,x,3,4\n[GRID]\nfields=0,9\n" + tail, "x",
         [](const Session& x) {
             EXPECT_TRUE(x.settings.reopenlast);
             EXPECT_EQ(x.settings.windowbounds, (std::array<std::int32_t, 4>{11, 12, 13, 14}));
             EXPECT_EQ(x.fields.fieldorder, Order({0, 3, 1}));
             EXPECT_EQ(x.settings.timethresh, 99);
         }},
        {"fields", "[WPARMS]\nBounds=1,2,3,4\n[GRID]\nfields=0,9,nine,10\n[FLDDEF]\nFielddef009=S,1,1,9\n"
                   "Fielddef010=H,1,1,10\n" + tail, "nine",
         [](const Session& x) {
             EXPECT_EQ(x.settings.windowbounds, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
             EXPECT_EQ(x.fields.fieldorder, Order({0, 9, 1}));
             EXPECT_EQ(x.fields.fields[9].head, "S");
             EXPECT_EQ(x.fields.fields[10].head, "Heading");
             EXPECT_EQ(x.settings.timethresh, 99);
         }},
        {"Fielddef width", "[GRID]\nfields=0,1\n[FLDDEF]\nFielddef000=No.,40,1,0\nFielddef001=D,7x,0,1\n" + tail,
         "7x",
         [](const Session& x) {
             EXPECT_EQ(x.fields.fields[0].head, "No.");
             EXPECT_EQ(x.fields.fields[1].head, "VDRDate");
             EXPECT_TRUE(x.fields.fields[1].vis);
             EXPECT_EQ(x.settings.timethresh, 99);
         }},
        {"unquoted heading with blanks", "[GRID]\nfields=13\n[FLDDEF]\nFielddef013=R of Turn,72,1,13\n" + tail,
         "of", [](const Session& x) { EXPECT_EQ(x.fields.fields[13].wdth, 72); }},
        {"Fielddef missing items", "[GRID]\nfields=4\n[FLDDEF]\nFielddef004=Date,70\n" + tail, "",
         [](const Session& x) { EXPECT_EQ(x.fields.fieldorder[0], 4); }},
        {"Thresholds", "[EVENTS]\nThresholds=5,abc,7\n", "abc",
         [](const Session& x) {
             EXPECT_EQ(x.settings.timethresh, 5);
             EXPECT_EQ(x.settings.distthresh, 98);
             EXPECT_EQ(x.settings.alarmthresh, 97);
         }},
        {"Thresholds too large", "[EVENTS]\nThresholds=2147483648\n", "2147483648",
         [](const Session& x) { EXPECT_EQ(x.settings.timethresh, 99); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform p;
        Session x{p};
        x.settings.windowbounds = {11, 12, 13, 14};
        x.fields.fieldorder = Order({0, 3, 1});
        x.settings.timethresh = 99;
        x.settings.distthresh = 98;
        x.settings.alarmthresh = 97;
        WriteFile(path, c.text);
        EXPECT_FALSE(ReadSettings(x, path));
        ASSERT_EQ(p.messages.size(), 1u);
        EXPECT_EQ(p.messages[0].kind, MsgKind::Error);
        EXPECT_EQ(p.messages[0].text, "'" + c.bad + "' is not a valid integer value");
        c.check(x);
    }
}

TEST_F(SettingsFile, UnreadableFileChangesNothing) {
    s.settings.timethresh = 42;
    s.settings.recentfiles = {"/a.log"};
    EXPECT_FALSE(ReadSettings(s, tmp.path().string()));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].kind, MsgKind::Error);
    EXPECT_NE(platform.messages[0].text.find(tmp.path().string()), std::string::npos);
    EXPECT_EQ(s.settings.timethresh, 42);
    EXPECT_EQ(s.settings.recentfiles, std::vector<std::string>{"/a.log"});
}

TEST_F(SettingsFile, WritingKeepsWhatItDoesNotWrite) {
    ASSERT_TRUE(ReadText("; my notes\n[general]\ngenmodes=RCNNN\nmgmodes=SA\nmine=1\n"
                         "[FILES]\nFile00=/a.log\nFile01=/b.log\nFile02=/c.log\nFile07=/old.log\n"
                         "[Mine]\nsomething\nk=v\n"));
    s.settings.verifychecksum = false;
    s.settings.recentfiles = {"/n.log", "/a.log"};
    ASSERT_TRUE(WriteSettings(s, path));
    const std::string text = ReadFile(path);
    const std::string general =
        "\xEF\xBB\xBF[general]\r\nGenModes=RNNNN\r\nmgmodes=SA\r\nmine=1\r\nFormats=DDN\r\nunits=MM\r\n"
        "pagesize=200\r\nNoLimits=N\r\n\r\n";
    EXPECT_EQ(text.substr(0, general.size()), general);
    EXPECT_NE(text.find("[FILES]\r\nFile00=/n.log\r\nFile01=/a.log\r\nFile02=/c.log\r\nFile07=/old.log\r\n"
                        "lastfile=/a.log\r\nsettings=\r\nSavedExt=.csv\r\n\r\n[Mine]\r\nsomething\r\nk=v\r\n\r\n[WPARMS]"),
              std::string::npos);
    EXPECT_EQ(text.find("my notes"), std::string::npos);

    // Read back: the stale File02 is kept in the file and so returns with it.
    FakePlatform p2;
    Session back{p2};
    ASSERT_TRUE(ReadSettings(back, path));
    EXPECT_EQ(back.settings.recentfiles, (std::vector<std::string>{"/n.log", "/a.log", "/c.log", "/old.log"}));
    EXPECT_EQ(back.settings.memomode, 'S');
    EXPECT_FALSE(back.settings.verifychecksum);

    // A hole in the list: the write leaves File03 in place and the next read does not repeat it.
    ASSERT_TRUE(ReadText("[FILES]\nFile00=/a\nFile03=/b\n"));
    ASSERT_TRUE(WriteSettings(s, path));
    ASSERT_TRUE(ReadSettings(s, path));
    EXPECT_EQ(s.settings.recentfiles, (std::vector<std::string>{"/a", "/b"}));
}

TEST_F(SettingsFile, WriteFailuresAreReportedAndLeaveTheFile) {
    WriteFile(path, "[EVENTS]\nThresholds=5,6,7\n");
    std::filesystem::create_directory(IniTempPath(path));
    EXPECT_FALSE(WriteSettings(s, path));
    EXPECT_EQ(ReadFile(path), "[EVENTS]\nThresholds=5,6,7\n");

    const std::string nowhere = tmp.File("missing/brenv.ini");
    EXPECT_FALSE(WriteSettings(s, nowhere));
    EXPECT_FALSE(WriteSettings(s, tmp.path().string()));
    ASSERT_EQ(platform.messages.size(), 3u);
    EXPECT_EQ(platform.messages[0].text, "Unable to write the settings file:\r\n" + path);
    EXPECT_EQ(platform.messages[1].text, "Unable to write the settings file:\r\n" + nowhere);
    EXPECT_EQ(platform.messages[1].kind, MsgKind::Error);
}

TEST_F(SettingsFile, InitCreatesAnEmptyFileOnce) {
    InitSettingsFile(s, tmp.path().string());
    EXPECT_EQ(s.settings.inifile, path);
    ASSERT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    WriteFile(path, "[EVENTS]\nThresholds=5,6,7\n");
    InitSettingsFile(s, tmp.path().string() + "/");
    EXPECT_EQ(ReadFile(path), "[EVENTS]\nThresholds=5,6,7\n");
    EXPECT_TRUE(platform.messages.empty());

    EXPECT_FALSE(InitSettingsFile(s, tmp.File("no/such")));  // reported by the write at close
    EXPECT_TRUE(platform.messages.empty());
}

// Random bytes and random mixtures of the file's own words: reading never fails badly, keeps
// every field number in range, and whatever was read survives a write and a second read.
TEST_F(SettingsFile, GarbageNeverBreaksReadingOrTheRoundTrip) {
    const char* words[] = {"[FILES]", "[GENERAL]", "[WPARMS]", "[FLDDEF]", "[GRID]", "[EVENTS]", "fields",
                           "Fielddef0", "Fielddef01", "Thresholds", "Bounds", "GenModes", "Formats", "units",
                           "MGmodes", "Splitter", "pagesize", "File0", "SavedExt", "settings", "=", ",", "\"",
                           "\"\"", " ", "\t", "\r", "\n", "\r\n", "-", "1", "22", "23", "99", "2147483648", "x",
                           "*", ";", "\xEF\xBB\xBF", "\xFF\xFE", "R", "N"};
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::string text;
        const std::uint32_t len = next() % 400;
        for (std::uint32_t i = 0; i < len; ++i) {
            if (round % 3 == 0) text.push_back(static_cast<char>(next() & 0xFF));
            else if (next() % 8 == 0) text += std::string(1, '\0');
            else text += words[next() % std::size(words)];
        }
        FakePlatform p;
        Session x{p};
        WriteFile(path, text);
        ReadSettings(x, path);
        for (int n : x.fields.fieldorder) ASSERT_TRUE(n >= 0 && n < kEventFieldCount);
        EXPECT_LE(p.messages.size(), 1u);

        const std::string copy = tmp.File("copy.ini");
        std::filesystem::remove(copy);
        ASSERT_TRUE(WriteSettings(x, copy));
        FakePlatform p2;
        Session back{p2};
        ASSERT_TRUE(ReadSettings(back, copy));
        ExpectSameSettings(x, back);
    }
}

}  // namespace
}  // namespace brenvik
