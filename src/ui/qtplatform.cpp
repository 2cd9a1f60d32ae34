#include "qtplatform.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include "help/helpviewer.h"
#include "logtext.h"

namespace brenvik::ui {
namespace {

// Message texts end lines with CR LF; a Qt label wants LF.
QString BoxText(std::string_view text) {
    QString t = LogText(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

QMessageBox::Icon IconOf(MsgKind kind) {
    switch (kind) {
        case MsgKind::Information: return QMessageBox::Information;
        case MsgKind::Warning: return QMessageBox::Warning;
        case MsgKind::Error: return QMessageBox::Critical;
        case MsgKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

// A busy cursor would hide that a box waits for the user; it comes back after the box.
class CursorPause {
public:
    CursorPause() : busy_(QApplication::overrideCursor() != nullptr) {
        if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~CursorPause() {
        if (busy_) QApplication::restoreOverrideCursor();
    }
    CursorPause(const CursorPause&) = delete;
    CursorPause& operator=(const CursorPause&) = delete;

private:
    bool busy_;
};

// Runs the box until a button other than Help closes it; Help shows the topic and the box
// stays, as a message box's Help button does. The time it waited is added to waited.
QAbstractButton* RunBox(QMessageBox& box, QAbstractButton* help, int helpcontext, qint64& waited) {
    CursorPause pause;
    QElapsedTimer timer;
    timer.start();
    struct AddWait {
        qint64& to;
        QElapsedTimer& t;
        ~AddWait() { to += t.nsecsElapsed(); }
    } add{waited, timer};
    for (;;) {
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        if (help == nullptr || clicked != help) return clicked;
        ShowHelpTopic(helpcontext);
    }
}

// Runs f on the UI thread: at once when called there, else queued to it while the calling
// thread waits, so that widgets and the boxes' waiting time are only ever touched there.
bool OffUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() != app->thread();
}

void OnUiThread(const std::function<void()>& f) {
    if (OffUiThread()) QMetaObject::invokeMethod(QCoreApplication::instance(), f, Qt::BlockingQueuedConnection);
    else f();
}

}  // namespace

QtPlatform::QtPlatform() {
    const QLocale locale;
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point[0].unicode() < 128) decsep_ = static_cast<char>(point[0].unicode());
    // The time separator is the character after the hours in the locale's short time format.
    const QString tf = locale.timeFormat(QLocale::ShortFormat);
    for (qsizetype i = 0; i + 1 < tf.size(); ++i) {
        if ((tf[i] == u'h' || tf[i] == u'H') && tf[i + 1] != u'h' && tf[i + 1] != u'H') {
            if (tf[i + 1].unicode() < 128 && tf[i + 1] != u' ') timesep_ = static_cast<char>(tf[i + 1].unicode());
            break;
        }
    }
    // The column widths are pixel widths made for a narrow sans face; where none of those is
    // installed, DejaVu's condensed face comes closest.
    gridfont_ = QApplication::font();
    gridfont_.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                           QStringLiteral("DejaVu Sans Condensed"), QApplication::font().family()});
    gridfont_.setPixelSize(12);
    // Without kerning a text's width is the sum of its characters' advances, which FitWidth
    // then adds up from a table instead of shaping every cell.
    gridfont_.setKerning(false);
    const QFontMetrics fm(gridfont_);
    for (int c = 32; c < 127; ++c) asciiwidth_[static_cast<std::size_t>(c)] = fm.horizontalAdvance(QChar(c));
}

int QtPlatform::TextWidth(std::string_view text) const {
    int w = 0;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 32 || c >= 127) return QFontMetrics(gridfont_).horizontalAdvance(LogText(text));
        w += asciiwidth_[c];
    }
    return w;
}

TDateTime QtPlatform::NowUTC() {
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    return 25569.0 + static_cast<double>(ms) / 86400000.0;  // 1970-01-01 is day 25569
}

void QtPlatform::LoadStarted() {
    OnUiThread([this] {
        boxnanos_ = 0;
        if (onLoadStarted) onLoadStarted();
    });
}

void QtPlatform::ShowReport(const std::vector<std::string>& lines) {
    OnUiThread([this, &lines] {
        if (onShowReport) onShowReport(lines);
    });
}

void QtPlatform::ResetProgress() {
    const std::lock_guard lock(progressmutex_);
    progress_ = Progress{};
    loadclock_.start();
    cancel_ = false;
}

QtPlatform::Progress QtPlatform::progress() const {
    const std::lock_guard lock(progressmutex_);
    return progress_;
}

bool QtPlatform::LoadProgress(const TLoadProgress& p) {
    {
        const std::lock_guard lock(progressmutex_);
        progress_ = Progress{p, loadclock_.nsecsElapsed()};
    }
    return !cancel_;
}

void QtPlatform::ShowMessage(MsgKind kind, std::string_view text, int helpcontext, bool helpbutton) {
    if (OffUiThread()) {
        OnUiThread([&] { ShowMessage(kind, text, helpcontext, helpbutton); });
        return;
    }
    if (script.active) {
        script.shown.emplace_back(text);
        return;
    }
    QMessageBox box(IconOf(kind), QApplication::applicationName(), BoxText(text), QMessageBox::Ok, parent_);
    QAbstractButton* help = nullptr;
    if (helpbutton || helpcontext != 0) help = box.addButton(QMessageBox::Help);
    RunBox(box, help, helpcontext, boxnanos_);
}

Answer QtPlatform::Ask(QuestionKind kind, std::string_view text, int helpcontext) {
    if (OffUiThread()) {
        Answer answer = Answer::Cancel;
        OnUiThread([&] { answer = Ask(kind, text, helpcontext); });
        return answer;
    }
    if (script.active) {
        script.shown.emplace_back(text);
        return script.answer;
    }
    const auto no = kind == QuestionKind::YesNo ? QMessageBox::No : QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), BoxText(text), QMessageBox::Yes | no,
                    parent_);
    QAbstractButton* help = helpcontext != 0 ? box.addButton(QMessageBox::Help) : nullptr;
    QAbstractButton* clicked = RunBox(box, help, helpcontext, boxnanos_);
    if (clicked == box.button(QMessageBox::Yes)) return Answer::Yes;
    return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
}

}  // namespace brenvik::ui
