#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>

#include "uitest.h"

// One QApplication for the whole GUI test run.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brenvik"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

namespace brenvik::ui::test {

QString UiTest::WriteFile(const QString& name, const QByteArray& bytes) const {
    const QString path = home_ + u'/' + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
}

TEST_F(UiTest, TitleNamesTheProgram) {
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Brenvik V1.1"));
}

}  // namespace brenvik::ui::test
