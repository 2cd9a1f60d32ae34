#pragma once
// GUI test support: every test gets its own home, configuration and data folders, so nothing
// reaches the real home; a main window on them; and a copy of the sample log.
#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

#include "mainwindow.h"

namespace brenvik::ui::test {

class UiTest : public ::testing::Test {
protected:
    UiTest() {
        home_ = tmp_.path();
        qputenv("HOME", home_.toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_ + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (home_ + QStringLiteral("/data")).toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home_ + QStringLiteral("/config"));
    }

    // A main window, shown (its settings read); the script answers the message boxes.
    MainWindow& Window() {
        if (!window_) {
            window_ = std::make_unique<MainWindow>();
            window_->app().platform.script.active = true;
            window_->show();
        }
        return *window_;
    }
    void CloseWindow() {
        if (window_) window_->close();
        window_.reset();
    }
    QString Home() const { return home_; }
    QString DataFolder() const { return home_ + QStringLiteral("/data/Harbex/BRENV"); }
    static QString SampleLog() { return QStringLiteral(BRENVIK_SOURCE_DIR "/data/samples/harbour.log"); }
    // Writes a text file in the test's home.
    QString WriteFile(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir tmp_;
    QString home_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace brenvik::ui::test
