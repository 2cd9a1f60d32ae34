#pragma once
// The desktop program's platform: message boxes (with a Help button where a help context is
// given), questions, the locale's separators, text widths in the grid font, and the display
// steps of a load, which the main window's controllers take over through callbacks. A load
// reads on a worker thread: boxes, questions and display steps called from it run on the UI
// thread while the reading waits; its progress is kept here for the UI to poll.
#include <QElapsedTimer>
#include <QFont>
#include <QString>

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform.h"

class QWidget;

namespace brenvik::ui {

class QtPlatform : public Platform {
public:
    QtPlatform();

    void ShowMessage(MsgKind kind, std::string_view text, int helpcontext = 0, bool helpbutton = false) override;
    Answer Ask(QuestionKind kind, std::string_view text, int helpcontext = 0) override;
    TDateTime NowUTC() override;
    char DecimalSeparator() const override { return decsep_; }
    char TimeSeparator() const override { return timesep_; }
    int TextWidth(std::string_view text) const override;

    void LoadStarted() override;
    void ShowReport(const std::vector<std::string>& lines) override;
    void LoadFinished() override {}
    // From the reading thread: keeps p, and tells the reading to stop once Cancel was asked for.
    bool LoadProgress(const TLoadProgress& p) override;
    // Nanoseconds the boxes and questions waited for the user since the load started: the
    // load's time leaves them out.
    qint64 BoxWaitNanos() const { return boxnanos_; }

    // The grid font (its pixel size and row height are fixed; the family follows the desktop).
    const QFont& gridFont() const { return gridfont_; }
    // Parent of the message boxes.
    void setParentWidget(QWidget* w) { parent_ = w; }

    // Before a load: no progress yet, no cancel asked for; the load's clock starts.
    void ResetProgress();
    // How far the running load has come (any thread), and when it got there: nanoseconds
    // after ResetProgress, so that the rate holds still once the reading has ended.
    struct Progress {
        TLoadProgress at;
        qint64 nanos = 0;
    };
    Progress progress() const;
    // Stops the running load at its next progress call.
    void RequestCancel() { cancel_ = true; }
    bool cancelRequested() const { return cancel_; }

    std::function<void()> onLoadStarted;
    std::function<void(const std::vector<std::string>&)> onShowReport;

    // For tests: what the next boxes do instead of waiting for a user. A box that would be shown
    // is recorded in shown; questions take `answer`.
    struct Script {
        bool active = false;
        Answer answer = Answer::Yes;
        std::vector<std::string> shown;
    };
    Script script;

private:
    QFont gridfont_;
    std::array<int, 128> asciiwidth_{};
    char decsep_ = '.';
    char timesep_ = ':';
    QWidget* parent_ = nullptr;
    qint64 boxnanos_ = 0;  // written and read on the UI thread only
    mutable std::mutex progressmutex_;
    QElapsedTimer loadclock_;
    Progress progress_;
    std::atomic<bool> cancel_{false};
};

}  // namespace brenvik::ui
