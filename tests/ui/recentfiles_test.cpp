#include "recentfiles.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "session.h"
#include "support/fakeplatform.h"

namespace brenvik::ui {
namespace {

TEST(ShortenPath, KeepsShortPathsAndCutsTheMiddleOfLongOnes) {
    const std::string p40 = "C:\\" + std::string(37, 'a');
    const std::string p41 = "C:\\" + std::string(29, 'b') + "\\trip.txt";
    EXPECT_EQ(ShortenPath(p40, 40), p40);
    const std::string s41 = ShortenPath(p41, 40);
    EXPECT_EQ(s41, "C:\\..." + p41.substr(41 - 34));
    EXPECT_EQ(s41.size(), 40u);
    // Counted in characters: a multi-byte letter is never cut in half.
    const std::string wide = "/h\xC3\xB6" + std::string(40, 'x') + "\xC3\xA5.log";
    EXPECT_EQ(ShortenPath(wide, 40), "/h\xC3\xB6..." + std::string(29, 'x') + "\xC3\xA5.log");
}

class RecentTest : public ::testing::Test {
protected:
    test::FakePlatform p;
    Session s{p};
    QMenu menu;
    std::vector<std::string> opened;
    std::unique_ptr<RecentFiles> recent;

    void SetUp() override {
        menu.addAction(QStringLiteral("Exit"));
        menu.addSeparator();
        std::array<QAction*, kRecentEntries> entries{};
        for (QAction*& a : entries) {
            a = menu.addAction(QString());
            a->setVisible(false);
        }
        recent = std::make_unique<RecentFiles>(s, &menu, entries, [this](const std::string& f) { opened.push_back(f); });
    }
    QString Caption(int i) const { return recent->Entry(i)->text(); }
};

TEST_F(RecentTest, ElevenFilesLeaveTheTenNewest) {
    for (int i = 0; i < 11; ++i) recent->AddRecentFile("/logs/f" + std::to_string(i) + ".txt");
    ASSERT_EQ(s.settings.recentfiles.size(), 10u);
    EXPECT_EQ(s.settings.lastfile, "/logs/f10.txt");
    EXPECT_EQ(Caption(0), QStringLiteral("&1 /logs/f10.txt"));
    EXPECT_EQ(Caption(9), QStringLiteral("&10 /logs/f1.txt"));
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(recent->Entry(i)->isVisible());
}

TEST_F(RecentTest, ReorderingAndCase) {
    for (const char* f : {"/a.txt", "/b.txt", "/c.txt", "/A.txt"}) recent->AddRecentFile(f);
    EXPECT_EQ(s.settings.recentfiles, (std::vector<std::string>{"/A.txt", "/c.txt", "/b.txt", "/a.txt"}));
    recent->AddRecentFile("/b.txt");
    EXPECT_EQ(s.settings.recentfiles, (std::vector<std::string>{"/b.txt", "/A.txt", "/c.txt", "/a.txt"}));
    recent->Entry(0)->setText(QStringLiteral("untouched"));
    recent->AddRecentFile("/b.txt");  // already first: no rebuild
    EXPECT_EQ(Caption(0), QStringLiteral("untouched"));
    EXPECT_FALSE(recent->Entry(4)->isVisible());
}

TEST_F(RecentTest, ClickOpensTheEntrysPathAndAmpersandIsShown) {
    s.settings.recentfiles = {"/logs/R&D.txt", "/logs/two.txt"};
    recent->RefreshRecentMenu();
    EXPECT_EQ(Caption(0), QStringLiteral("&1 /logs/R&&D.txt"));
    recent->Entry(1)->trigger();
    recent->RecentItemClick(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"/logs/two.txt"}));
}

TEST_F(RecentTest, MissingEntryIsReported) {
    menu.removeAction(recent->Entry(3));
    recent->RefreshRecentMenu();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages.front().text.rfind("File Menu error - inform author\r\n", 0), 0u);
}

}  // namespace
}  // namespace brenvik::ui
