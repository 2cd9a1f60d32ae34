// Every input that ever made a fuzz target fail, replayed through the same entry functions in
// the normal build: fuzz/regressions/TARGET/*.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fuzzentry.h"
#include "support/tempdir.h"

namespace brenvik {
namespace {

TEST(FuzzRegressions, EveryKeptInputGoesThroughCleanly) {
    using Entry = std::string (*)(const std::uint8_t*, std::size_t);
    const std::pair<const char*, Entry> targets[] = {
        {"load", fuzz::FuzzLoad}, {"ais", fuzz::FuzzAIS}, {"settings", fuzz::FuzzSettings}};
    int replayed = 0;
    for (const auto& [name, entry] : targets) {
        const std::filesystem::path dir = std::filesystem::path(BRENVIK_SOURCE_DIR) / "fuzz" / "regressions" / name;
        if (!std::filesystem::is_directory(dir)) continue;  // git keeps no empty folder
        for (const auto& file : std::filesystem::directory_iterator(dir)) {
            if (!file.is_regular_file() || file.path().filename().string().front() == '.') continue;
            SCOPED_TRACE(file.path().string());
            const std::string bytes = test::ReadFile(file.path().string());
            EXPECT_EQ(entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "");
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace brenvik
