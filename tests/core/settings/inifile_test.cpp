#include "settings/inifile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/tempdir.h"

namespace brenvik {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

TEST(IniFile, ReadsLinesAsTheFormatSays) {
    struct Case {
        const char* name;
        std::string text;
        std::string written;  // the model written back, without the byte-order mark
    };
    const Case cases[] = {
        {"crlf", "[A]\r\nk=v\r\n", "[A]\r\nk=v\r\n\r\n"},
        {"lf only", "[A]\nk=v\nj=w", "[A]\r\nk=v\r\nj=w\r\n\r\n"},
        {"cr only", "[A]\rk=v\rj=w\r", "[A]\r\nk=v\r\nj=w\r\n\r\n"},
        {"mixed ends and blank lines", "[A]\r\r\n\n\rk=v\n\r\n", "[A]\r\nk=v\r\n\r\n"},
        {"bom", std::string(kBom) + "[A]\nk=v\n", "[A]\r\nk=v\r\n\r\n"},
        {"lines before the first section", "k=v\nnoise\n[A]\nj=w\n", "[A]\r\nj=w\r\n\r\n"},
        {"comments", "[A]\n;k=v\n  ; spaced\nj=w\n", "[A]\r\nj=w\r\n\r\n"},
        {"trimmed key, value and name", "  [ A b ]  \n\t key \t=  v w \x01\n", "[A b]\r\nkey=v w\r\n\r\n"},
        {"first = splits", "[A]\nk = a=b\n", "[A]\r\nk=a=b\r\n\r\n"},
        {"line without =", "[A]\njust text \nk=\n", "[A]\r\njust text\r\nk=\r\n\r\n"},
        {"empty section name", "[]\nk=v\n", "[]\r\nk=v\r\n\r\n"},
        {"repeated section continues", "[A]\nk=1\n[B]\nx=2\n[a]\nj=3\n", "[A]\r\nk=1\r\nj=3\r\n\r\n[B]\r\nx=2\r\n\r\n"},
        {"bracket alone is an entry", "[A]\n[\n]\n", "[A]\r\n[\r\n]\r\n\r\n"},
        {"empty text", "", ""},
        {"bom only", std::string(kBom), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TIniFile ini;
        ini.LoadFromText(c.text);
        EXPECT_EQ(ini.ToText(), std::string(kBom) + c.written);
    }
}

TEST(IniFile, LookupIgnoresCaseAndFindsTheFirstNamesake) {
    TIniFile ini;
    ini.LoadFromText("[General]\nGenModes=RCNNN\ngenmodes=NNNNN\nplain line\n[Other]\nx=1\n");
    EXPECT_EQ(ini.ReadString("GENERAL", "genMODES", "?"), "RCNNN");
    EXPECT_EQ(ini.ReadString("general", "x", "def"), "def");
    EXPECT_EQ(ini.ReadString("missing", "x", "def"), "def");
    // A line without "=" names no key, not even its own text.
    EXPECT_FALSE(ini.Find("General", "plain line"));
    EXPECT_EQ(ini.ReadString("OTHER", "X", "?"), "1");
    // Only letters fold: the characters just beside A-Z and a-z do not.
    ini.LoadFromText("[Other]\n@[`{AZaz=edge\n@@@@@@@@=at\n");
    EXPECT_EQ(ini.ReadString("other", "@[`{azAZ", "?"), "edge");
    EXPECT_EQ(ini.ReadString("other", "````````", "none"), "none");
    EXPECT_EQ(ini.ReadString("other", "@[`{azA[", "none"), "none");
}

TEST(IniFile, WriteReplacesNamesakesAndAppendsInOrder) {
    TIniFile ini;
    ini.LoadFromText("[files]\nlastfile=a\nhand=kept\n[Extra]\ny=2\n");
    ini.WriteString("FILES", "LastFile", "b");
    ini.WriteString("FILES", "settings", "s\r\nx");
    ini.WriteString("GRID", "fields", "0,1");
    ini.WriteString("Extra", "z", "3");
    EXPECT_EQ(ini.ToText(), std::string(kBom) +
                                "[files]\r\nLastFile=b\r\nhand=kept\r\nsettings=s  x\r\n\r\n"
                                "[Extra]\r\ny=2\r\nz=3\r\n\r\n"
                                "[GRID]\r\nfields=0,1\r\n\r\n");
}

// Many sections and keys, so that the lookup outgrows its first table: each name still finds
// its own first entry, in any letter case, and writes keep the file order.
TEST(IniFile, LookupHoldsInABigFile) {
    std::string text;
    for (int sec = 0; sec < 40; ++sec) {
        text += "[Sec" + std::to_string(sec) + "]\n";
        for (int k = 0; k < 30; ++k) text += "Key" + std::to_string(k) + "=" + std::to_string(sec * 100 + k) + "\n";
        text += "KEY0=later\n";  // a namesake: never found, kept as written
    }
    TIniFile ini;
    ini.LoadFromText(text);
    for (int sec = 0; sec < 40; ++sec)
        for (int k = 0; k < 30; ++k) {
            SCOPED_TRACE(sec * 100 + k);
            EXPECT_EQ(ini.ReadString("SEC" + std::to_string(sec), "kEY" + std::to_string(k), "?"),
                      std::to_string(sec * 100 + k));
        }
    EXPECT_FALSE(ini.Find("Sec40", "Key0"));
    EXPECT_FALSE(ini.Find("Sec1", "Key30"));
    ini.WriteString("sec39", "key0", "new");
    ini.WriteString("Sec39", "Extra", "x");
    ini.WriteString("Sec40", "Key0", "y");
    EXPECT_EQ(ini.ReadString("Sec39", "KEY0", "?"), "new");
    const std::string out = ini.ToText();
    EXPECT_NE(out.find("[Sec39]\r\nkey0=new\r\nKey1=3901\r\n"), std::string::npos);
    EXPECT_NE(out.find("Key29=3929\r\nKEY0=later\r\nExtra=x\r\n\r\n[Sec40]\r\nKey0=y\r\n\r\n"), std::string::npos);
}

// One model used again and again, and texts taken from it written back into it: each of these
// reads a buffer the model itself may move as it grows.
TEST(IniFile, ReusedModelAndItsOwnTextsWrittenBack) {
    TIniFile ini;
    ini.LoadFromText("[A]\nlong key name=a value longer than a short string\nk=v\n");
    ini.LoadFromText("[B]\nx=1\n");  // nothing of the first text is left
    EXPECT_FALSE(ini.Find("A", "k"));
    EXPECT_EQ(ini.ToText(), std::string(kBom) + "[B]\r\nx=1\r\n\r\n");

    ini.LoadFromText("[A]\nlong key name=a value longer than a short string\nk=v\n");
    for (int i = 0; i < 50; ++i) {  // enough appends to move the buffer several times
        const std::string_view v = *ini.Find("A", "long key name");
        ini.WriteString("A", "k" + std::to_string(i), v);
    }
    const std::string_view value = *ini.Find("a", "LONG KEY NAME");
    ini.WriteString(value, value, value);  // a new section and key, all three from the model
    EXPECT_EQ(ini.ReadString("A", "k49", "?"), "a value longer than a short string");
    EXPECT_EQ(ini.ReadString("a value longer than a short string", "A VALUE longer than a short string", "?"),
              "a value longer than a short string");

    const std::string text = ini.ToText();
    ini.LoadFromText(std::string_view(text).substr(kBom.size()));
    EXPECT_EQ(ini.ToText(), text);
    // A missing file empties the model, lookups included.
    TempDir tmp;
    EXPECT_EQ(ini.LoadFromFile(tmp.File("none.ini")), TIniFile::LoadResult::Missing);
    EXPECT_FALSE(ini.Find("A", "k"));
    EXPECT_EQ(ini.ToText(), kBom);
}

TEST(IniFile, FileRoundTripAndLoadOutcomes) {
    TempDir tmp;
    const std::string path = tmp.File("a.ini");
    TIniFile ini;
    EXPECT_EQ(ini.LoadFromFile(path), TIniFile::LoadResult::Missing);
    ini.WriteString("S", "k", "v\xC3\xA5");
    ASSERT_TRUE(ini.SaveToFile(path));
    EXPECT_EQ(ReadFile(path), std::string(kBom) + "[S]\r\nk=v\xC3\xA5\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(IniTempPath(path)));

    TIniFile back;
    ASSERT_EQ(back.LoadFromFile(path), TIniFile::LoadResult::Loaded);
    EXPECT_EQ(back.ReadString("s", "K", ""), "v\xC3\xA5");

    // A folder is not a settings file; the model keeps what it held.
    EXPECT_EQ(back.LoadFromFile(tmp.path().string()), TIniFile::LoadResult::Failed);
    EXPECT_EQ(back.ReadString("s", "K", ""), "v\xC3\xA5");
    // A device would never end.
    EXPECT_EQ(back.LoadFromFile("/dev/zero"), TIniFile::LoadResult::Failed);
}

TEST(IniFile, DamagedTextIsToldFromHandWrittenText) {
    struct Case { const char* name; std::string text; bool damaged; };
    const Case cases[] = {
        {"empty", "", false},
        {"mark only", std::string(kBom), false},
        {"as written", std::string(kBom) + "[S]\r\nk=v\r\n\r\n", false},
        {"hand-written, no last line end", "[S]\nk=v", false},
        {"tab and Latin-1", "[S]\r\nk=\tv\xE5\r\n", false},
        {"written, then cut in a line", std::string(kBom) + "[S]\r\nk=v\r\nFielddef0", true},
        {"NUL", std::string("[S]\nk=v\n\0", 9), true},
        {"UTF-16", std::string("\xFF\xFE[\0S\0]\0", 8), true},
        {"escape character", "[S]\nk=\x1B[0m\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TIniFile::IsDamaged(c.text), c.damaged);
    }
}

TEST(IniFile, FailedSaveLeavesTheOldFileWhole) {
    TempDir tmp;
    const std::string path = tmp.File("brenv.ini");
    const std::string old = std::string(kBom) + "[S]\r\nk=old\r\n\r\n";
    TIniFile ini;
    ini.WriteString("S", "k", "new");

    // The temporary file cannot be created (something else holds its name).
    WriteFile(path, old);
    std::filesystem::create_directory(IniTempPath(path));
    EXPECT_FALSE(ini.SaveToFile(path));
    EXPECT_EQ(ReadFile(path), old);
    std::filesystem::remove(IniTempPath(path));

    // The target is a folder: the rename fails and no temporary file stays.
    const std::string dir = tmp.File("dir.ini");
    std::filesystem::create_directory(dir);
    EXPECT_FALSE(ini.SaveToFile(dir));
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    EXPECT_FALSE(std::filesystem::exists(IniTempPath(dir)));

    // The folder does not exist.
    EXPECT_FALSE(ini.SaveToFile(tmp.File("no/such/folder.ini")));
    EXPECT_FALSE(std::filesystem::exists(tmp.File("no")));

    // And a save that works replaces the content in one step.
    EXPECT_TRUE(ini.SaveToFile(path));
    EXPECT_EQ(ReadFile(path), std::string(kBom) + "[S]\r\nk=new\r\n\r\n");
}

TEST(IniFile, SaveThroughALinkReplacesItsTarget) {
    TempDir tmp;
    const std::string target = tmp.File("real.ini");
    const std::string link = tmp.File("link.ini");
    WriteFile(target, "[S]\nk=old\n");
    std::filesystem::create_symlink(target, link);
    TIniFile ini;
    ini.WriteString("S", "k", "new");
    ASSERT_TRUE(ini.SaveToFile(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(target), std::string(kBom) + "[S]\r\nk=new\r\n\r\n");
}

}  // namespace
}  // namespace brenvik
