#pragma once
// Loading log texts in tests: a temporary file, a session on the fake platform, and a way to
// feed single lines to the framer as the loader would.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "parse/handlers.h"
#include "parse/linedispatch.h"
#include "openlog.h"
#include "parse/segment.h"
#include "session.h"
#include "support/fakeplatform.h"

namespace brenvik::test {

// The sentence followed by "*" and its correct checksum (exclusive-or after the "$" or "!").
inline std::string WithChecksum(std::string_view sentence) {
    unsigned x = 0;
    for (char c : sentence.substr(1)) x ^= static_cast<unsigned char>(c);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", x);
    return std::string(sentence) + "*" + hex;
}

// A file in the test's temporary folder, removed when this goes out of scope.
class TempFile {
public:
    explicit TempFile(std::string_view content, std::string_view suffix = ".log") {
        static std::mt19937_64 rng{std::random_device{}()};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->name()) : std::string("brenvik");
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = (std::filesystem::path(::testing::TempDir()) /
                 (name + "-" + std::to_string(rng()) + std::string(suffix)))
                    .string();
        std::ofstream out(path_, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A session on a fake platform and the outcome of its last load.
struct LoadedLog {
    FakePlatform platform;
    Session s{platform};
    LoadOutcome outcome = LoadOutcome::Skipped;

    // Texts of the messages shown during the load.
    std::vector<std::string> Messages() const { return platform.Texts(); }
};

using SettingsSetup = std::function<void(TSettings&)>;

// Writes text to a temporary file and loads it into a fresh session.
inline std::unique_ptr<LoadedLog> LoadText(std::string_view text, const SettingsSetup& setup = {}) {
    auto log = std::make_unique<LoadedLog>();
    if (setup) setup(log->s.settings);
    TempFile file(text);
    log->outcome = OpenLogFile(log->s, file.path());
    return log;
}

// A session ready for single lines, as after the loader's reset.
struct LineSession {
    FakePlatform platform;
    Session s{platform};

    explicit LineSession(const SettingsSetup& setup = {}) {
        if (setup) setup(s.settings);
        ResetSegmentation(s);
    }
    // Feeds lines to the framer, counting them like the loader.
    void Feed(std::initializer_list<std::string_view> lines) {
        for (auto l : lines) {
            ++s.recnumb;
            s.curline = l;
            ParseLine(s, l);
        }
        s.curline = {};
    }
};

}  // namespace brenvik::test
