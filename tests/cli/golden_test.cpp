// The sample log through brenvik-cli, every output compared byte for byte with the files in
// tests/data/harbour, under the C locale and under a decimal-comma locale whose numeric part
// the program leaves as it is.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "support/clirun.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

using test::Q;
using test::ReadFile;
using test::RunCli;
using test::TempDir;

constexpr const char* kLog = "data/samples/harbour.log";  // relative: the report names it

const std::string kGolden = std::string(BRENVIK_SOURCE_DIR) + "/tests/data/harbour/";

struct Output {
    const char* option;  // printed on stdout; or written to the file named by `file`
    const char* file;    // nullptr: stdout
    const char* golden;
};

// The decimal comma appears where the program applies the platform's separator: report,
// grids, CSV and the KML balloon cells. KML coordinates and the GPS text file keep the point.
constexpr Output kOutputs[] = {
    {"--report", nullptr, "report.txt"},
    {"--corrupt", nullptr, "corrupt.txt"},
    {"--events", nullptr, "events.csv"},
    {"--ais", nullptr, "aisgrid.txt"},
    {"--vessels", nullptr, "vesseltable.txt"},
    {"--csv", "out.csv", "events.csv"},
    {"--kml", "harbour.kml", "events.kml"},  // the document takes the file's name
    {"--gps", "out.gps", "events.gps"},
    {"--ais-positions", "positions.csv", "aispositions.csv"},
    {"--ais-vessels", "vessels.csv", "aisvessels.csv"},
};

// Outputs that read the same under both locales.
bool SameInEveryLocale(const std::string& golden) { return golden == "corrupt.txt" || golden == "events.gps"; }

void ExpectGoldenOutputs(const std::string& locale, const std::string& folder) {
    for (const Output& o : kOutputs) {
        SCOPED_TRACE(std::string(locale) + " " + o.option);
        TempDir dir;
        std::string args = o.option;
        if (o.file) args += " " + Q(dir.File(o.file));
        const auto r = RunCli(dir, args + " " + kLog, locale, BRENVIK_SOURCE_DIR);
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string golden = (SameInEveryLocale(o.golden) ? kGolden : folder) + o.golden;
        const std::string expected = ReadFile(golden);
        ASSERT_FALSE(expected.empty()) << golden;
        EXPECT_TRUE((o.file ? ReadFile(dir.File(o.file)) : r.out) == expected) << "differs from " << golden;
    }
}

TEST(GoldenFiles, SampleLogUnderTheCLocale) { ExpectGoldenOutputs("C", kGolden); }

TEST(GoldenFiles, SampleLogUnderACommaLocale) {
    // Missing, the locale would fall back to C silently and the test would prove nothing.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const bool present = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    std::setlocale(LC_ALL, before.c_str());
    ASSERT_TRUE(present) << "the de_DE.UTF-8 locale is missing: run scripts/install-deps.sh";
    ExpectGoldenOutputs("de_DE.UTF-8", kGolden + "de_DE/");
}

}  // namespace
}  // namespace brenvik
