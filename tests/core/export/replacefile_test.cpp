// Exports are written beside their target and replace it only when complete.
#include "export/replacefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>

#include "export/aiswriters.h"
#include "export/csvwriter.h"
#include "export/gpswriter.h"
#include "export/kmlwriter.h"
#include "ais/vessels.h"
#include "openlog.h"
#include "session.h"
#include "support/fakeplatform.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

namespace fs = std::filesystem;

// Files at most `bytes` long for this process while it lives, as under `ulimit -f`; the
// signal that would end the process is ignored so that the write fails instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = FOld;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

std::vector<std::string> FolderNames(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Writer {
    const char* name;
    std::function<bool(Session&, const std::string&)> write;
    const char* error;
};

const Writer kWriters[] = {
    {"CSV", [](Session& s, const std::string& p) { return WriteCSV(s, p, s.fields.shownfields, {0, s.events.count() - 1}); },
     "Unable to write to CSV file."},
    {"KML", [](Session& s, const std::string& p) { return WriteKML(s, p, "trip", s.fields.shownfields); },
     "Error writing KML file."},
    {"GPS", [](Session& s, const std::string& p) { return WriteGPS(s, p); }, "Error writing GPS file."},
    {"AIS positions", [](Session& s, const std::string& p) { return WriteAISPositions(s, p, "CSV"); },
     "Unable to write to CSV file."},
    {"AIS vessels", [](Session& s, const std::string& p) { return WriteAISVessels(s, p, "CSV"); },
     "Unable to write to CSV file."},
};

struct SampleSession {
    test::FakePlatform p;
    Session s{p};
    SampleSession() {
        CreateVhcls(s, std::string(BRENVIK_SOURCE_DIR) + "/data");
        EXPECT_EQ(OpenLogFile(s, std::string(BRENVIK_SOURCE_DIR) + "/data/samples/harbour.log"), LoadOutcome::Complete);
        EXPECT_GT(s.vehicles.count(), 1);
        p.messages.clear();
    }
};

TEST(ReplacingFile, AFailedExportKeepsThePreviousFileAndLeavesNothingElse) {
    SampleSession x;
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        const test::TempDir dir;
        const std::string target = dir.Write("export.out", "the previous export\r\n");
        x.p.messages.clear();
        bool ok = true;
        {
            const FileSizeLimit limit(100);
            ok = w.write(x.s, target);
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(x.p.Texts(), std::vector<std::string>{w.error});  // no count, no success
        EXPECT_EQ(test::ReadFile(target), "the previous export\r\n");
        EXPECT_EQ(FolderNames(dir.path()), std::vector<std::string>{"export.out"});
    }
}

TEST(ReplacingFile, ASuccessfulExportReplacesTheFileItsLinkPointsTo) {
    SampleSession x;
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        const test::TempDir dir;
        const std::string target = dir.Write("export.out", "old");
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        fs::create_symlink(target, dir.File("link.out"));
        EXPECT_TRUE(w.write(x.s, dir.File("link.out")));
        EXPECT_TRUE(fs::is_symlink(dir.File("link.out")));
        EXPECT_GT(test::ReadFile(target).size(), 100u);
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"export.out", "link.out"}));
    }
}

TEST(ReplacingFile, AbandonedFileLeavesNoTrace) {
    const test::TempDir dir;
    {
        TReplacingFile f;
        ASSERT_TRUE(f.Open(dir.File("a.csv")));
        std::fputs("x", f.file());
    }
    TReplacingFile g;
    ASSERT_TRUE(g.Open(dir.File("b.csv")));
    EXPECT_FALSE(g.Commit(false));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(AisExport, NameWithoutExtensionIsNamedCSV) {
    SampleSession x;
    const test::TempDir dir;
    EXPECT_TRUE(WriteAISVessels(x.s, dir.File("vessels"), ""));
    ASSERT_EQ(x.p.messages.size(), 1u);
    EXPECT_NE(x.p.messages[0].text.find(" AIS Vessels written to CSV file."), std::string::npos);
    x.p.messages.clear();
    EXPECT_FALSE(WriteAISPositions(x.s, dir.File("missing/pos"), ""));
    EXPECT_EQ(x.p.Texts(), std::vector<std::string>{"Unable to write to CSV file."});
}

}  // namespace
}  // namespace brenvik
