#include "dialogs/aboutbox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

namespace brenvik::ui {
namespace {

TEST(AboutBox, ShowsVersionAndHelpKeepsItOpen) {
    AboutBox box;
    std::vector<int> helps;
    box.showhelp = [&](int c) { helps.push_back(c); };
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Brenvik"));
    EXPECT_EQ(box.lblversion->text(), QStringLiteral("Version 1.1"));
    EXPECT_EQ(box.Image1->pixmap().size(), QSize(128, 128));
    box.BitBtn2->click();
    EXPECT_EQ(helps, std::vector<int>{580});
    EXPECT_TRUE(box.isVisible());
    box.OKbtn->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace brenvik::ui
