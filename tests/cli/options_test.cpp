// The command line's settings: field lists and flag order.
#include <gtest/gtest.h>

#include "options.h"
#include "session.h"
#include "support/fakeplatform.h"

namespace brenvik::test {
namespace {

std::vector<int> Shown(Session& s) {
    s.fields.RebuildShown(s.settings.ignorevdr);
    return s.fields.shownfields;
}

TEST(CliFields, ListPutsFieldsAfterTheFirstColumn) {
    struct Case { const char* fieldlist; std::vector<int> shown; std::vector<int> orderprefix; };
    const Case cases[] = {
        {"5,6,9", {0, 5, 6, 9}, {0, 5, 6, 9, 1, 2, 3, 4, 7, 8, 10}},
        {"9,0,9,5", {0, 9, 5}, {0, 9, 5, 1, 2, 3, 4, 6, 7, 8, 10}},
        {"8", {0, 8}, {0, 8, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fieldlist);
        FakePlatform p;
        Session s(p);
        std::string error;
        ASSERT_TRUE(cli::ApplyFieldList(s, c.fieldlist, error)) << error;
        EXPECT_EQ(Shown(s), c.shown);
        for (std::size_t i = 0; i < c.orderprefix.size(); ++i) EXPECT_EQ(s.fields.fieldorder[i], c.orderprefix[i]);
        EXPECT_EQ(s.fields.fields[1].kind, 0);  // hidden fields are not selected
    }
}

TEST(CliFields, AllShowsEveryFieldInTheCurrentOrder) {
    FakePlatform p;
    Session s(p);
    std::string error;
    ASSERT_TRUE(cli::ApplyFieldList(s, "all", error));
    std::vector<int> all(kEventFieldCount);
    for (int i = 0; i < kEventFieldCount; ++i) all[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(Shown(s), all);  // Depth and Heading too
    s.settings.ignorevdr = true;
    EXPECT_EQ(Shown(s).size(), all.size() - 3);
}

TEST(CliOptions, FlagsOverrideSettings) {
    const char* argv[] = {"brenvik-cli", "--time-threshold", "never", "--dist-threshold=100", "--no-checksum",
                          "--units", "NF", "--coord", "M", "--date", "N", "--rotations", "x.log"};
    cli::CliOptions o;
    std::string error;
    ASSERT_TRUE(cli::ParseArgs(static_cast<int>(std::size(argv)), argv, o, error)) << error;
    FakePlatform p;
    Session s(p);
    s.settings.verifychecksum = true;
    cli::ApplyOptions(s, o);
    EXPECT_EQ(s.settings.timethresh, kNever);
    EXPECT_EQ(s.settings.distthresh, 100);
    EXPECT_EQ(s.settings.alarmthresh, kNever);
    EXPECT_FALSE(s.settings.verifychecksum);
    EXPECT_EQ(s.settings.parms.hunits, 'N');
    EXPECT_EQ(s.settings.parms.vunits, 'F');
    EXPECT_EQ(s.settings.coordformat, 'M');
    EXPECT_EQ(s.settings.dateformat, 'N');
    EXPECT_TRUE(s.settings.rotations);
    EXPECT_EQ(o.logfiles, std::vector<std::string>{"x.log"});
    EXPECT_FALSE(o.AnyOutput());
}

}  // namespace
}  // namespace brenvik::test
