#include <gtest/gtest.h>

#include <QApplication>

#include "mainwindow.h"

// One QApplication for the whole GUI test run.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST(MainWindow, TitleNamesTheProgram) {
    brenvik::ui::MainWindow w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Brenvik"));
}
