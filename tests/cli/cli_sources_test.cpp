// brenvik-cli --sources and --sources-csv on a real capture.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/strutil.h"
#include "support/clirun.h"
#include "support/tempdir.h"

namespace brenvik::test {
namespace {

// The public captures lie beside the repository, where they are laid out for development.
std::string CorpusLog(const char* name) {
    const auto p = std::filesystem::path(BRENVIK_SOURCE_DIR) / ".." / "shared" / "corpus" / "gpsd" / name;
    return std::filesystem::exists(p) ? p.string() : std::string();
}

// Cells of a CSV line whose cells hold no comma (as here, under the C locale).
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> out;
    std::size_t at = 0, end;
    while ((end = line.find(',', at)) != std::string::npos) {
        out.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    out.push_back(line.substr(at));
    return out;
}

std::vector<std::string> Lines(const std::string& text, const char* eol) {
    std::vector<std::string> out;
    std::size_t at = 0, end;
    while ((end = text.find(eol, at)) != std::string::npos) {
        out.push_back(text.substr(at, end - at));
        at = end + std::string_view(eol).size();
    }
    return out;
}

// A receiver's cold boot (gpsd's gp-320fw log): junk, two sentences on a line, bad checksums,
// and an RMC clock that runs 2019-04-07, 2006-12-16, 2010-09-30, 2010-09-25, 1999-08-22.
TEST(CliSources, CountsAddUpToTheReport) {
    const std::string log = CorpusLog("gp-320fw-2019-04-07-coldboot.log");
    if (log.empty()) GTEST_SKIP() << "corpus not present";
    TempDir dir;
    const std::string csv = dir.File("sources.csv");
    CliResult r = RunCli(dir, "--report --sources --sources-csv " + Q(csv) + " " + Q(log));
    ASSERT_EQ(r.status, 0);
    const auto out = Lines(r.out, "\n");
    int total = -1, processed = -1, corrupt = -1;
    ASSERT_GE(out.size(), 6u);
    ASSERT_EQ(std::sscanf(out[1].c_str(), "Total lines = %d, Processed Lines = %d, Corrupt lines = %d", &total,
                          &processed, &corrupt), 3);
    // The verdict heads the table: three steps back of the RMC clock.
    EXPECT_EQ(out[4], "Clock: 3 backward jumps");
    EXPECT_EQ(out[5].rfind("Source ", 0), 0u);

    const auto rows = Lines(ReadFile(csv), "\r\n");
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], "Source,Lines,Processed,Unprocessed,Corrupt,First line,Last line,First time,Last time,"
                       "Rate/min,Largest gap,Gap line,UTC back");
    int sum[3] = {0, 0, 0};
    for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
        const auto cells = Cells(rows[i]);
        ASSERT_GE(cells.size(), 5u) << rows[i];
        for (int k = 0; k < 3; ++k) sum[k] += std::stoi(cells[static_cast<std::size_t>(2 + k)]);
    }
    EXPECT_EQ(sum[0], processed);
    EXPECT_EQ(sum[1], total - processed);
    EXPECT_EQ(sum[2], corrupt);
    const auto all = Cells(rows.back());
    ASSERT_GE(all.size(), 5u);
    EXPECT_EQ(all[0], "All");
    EXPECT_EQ(all[2], std::to_string(processed));
    EXPECT_EQ(all[4], std::to_string(corrupt));
}

TEST(CliSources, UnwritableCsvFails) {
    TempDir dir;
    const std::string log = dir.Write("a.log", Sentence("$GPRMC,120000,A,5400.0,N,01000.0,E,1.0,90.0,150312,,"));
    CliResult r = RunCli(dir, "--sources-csv " + Q(dir.File("no/such/folder.csv")) + " " + Q(log));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Unable to write to CSV file."), std::string::npos);
    EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace brenvik::test
