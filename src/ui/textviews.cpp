#include "textviews.h"

#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QStringList>

#include <cstdio>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "export/aiswriters.h"
#include "appstate.h"
#include "logtext.h"
#include "model/logfiles.h"
#include "parse/loglines.h"
#include "present/encountertable.h"
#include "present/report.h"
#include "present/sourcestable.h"
#include "widgets/textpanel.h"

namespace brenvik::ui {
namespace {

QString Joined(const std::vector<std::string>& lines) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& l : lines) out << LogText(l);
    return out.join(u'\n');
}

// The integer a text reads as, or an "invalid integer" message and nothing.
bool ReadInt(AppState& app, const QString& text, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    if (!ok) app.platform.ShowMessage(MsgKind::Error, "'" + CoreText(text) + "' is not a valid integer value");
    return ok;
}

// The number before the first "|" of a source or corrupt line.
bool LineNumberOf(const QString& line, int& n) {
    const qsizetype bar = line.indexOf(u'|');
    if (bar < 0) return false;
    bool ok = false;
    n = line.left(bar).trimmed().toInt(&ok);
    return ok;
}

}  // namespace

QString FieldAtColumn(const QString& line, int x) {
    x = std::max(0, std::min(x, static_cast<int>(line.size())));
    QString before = line.left(x);
    if (const qsizetype comma = before.lastIndexOf(u','); comma >= 0) before = before.mid(comma + 1);
    QString after = line.mid(x, 999);
    if (const qsizetype comma = after.indexOf(u','); comma >= 0) after = after.left(comma);
    return (before + after).trimmed();
}

bool ReadSourcePage(const std::vector<TLogFile>& files, int first, int last, int target, QStringList& lines, int& lineat,
                    std::string& failed) {
    lineat = -1;
    // The loader's own reader: the same line ends, byte-order marks and line bound, so the
    // numbers shown are always the loader's.
    return ReadLogLines(files, first, last, [&](std::int32_t number, std::string_view line) {
        if (number == target) lineat = static_cast<int>(lines.size());
        char head[16];
        std::snprintf(head, sizeof head, "%07d|", number);
        lines << QString::fromLatin1(head) + LogText(line);
    }, failed);
}

TextViews::TextViews(AppState& app, TextPanel& panel, QObject* parent) : QObject(parent), app_(app), panel_(panel) {
    connect(panel_.memo(), &MemoEdit::memoClicked, this, &TextViews::Memo1Click);
}

void TextViews::SetMemoMode(char mode) {
    app_.session.settings.memomode = mode;
    if (sources_ || encounters_) {
        sources_ = false;
        encounters_ = false;
        panel_.memo()->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    }
    QString title;
    switch (mode) {
        case 'C': title = QStringLiteral("Corrupt Lines"); break;
        case 'R': title = QStringLiteral("Report"); break;
        case 'S': title = QStringLiteral("Source File"); break;
        case 'V': title = QStringLiteral("Vessel Static Info"); break;
        default: title = QStringLiteral("Unknown"); break;
    }
    panel_.title()->setText(title);
    panel_.setPageButtonsVisible(mode == 'S');
}

void TextViews::ShowWelcome() {
    shown_ = 0;
    panel_.SetLines(QStringLiteral("Welcome to Brenvik.  To start open an NMEA log file.\n"), true);
}

void TextViews::ShowSummary() { ShowReportLines(SummaryReport(app_.session)); }

void TextViews::ShowReportLines(const std::vector<std::string>& lines) {
    SetMemoMode('R');
    panel_.SetLines(Joined(lines));
    shown_ = 'R';
}

void TextViews::ShowCorrupt() {
    SetMemoMode('C');
    const auto& recs = app_.session.corruptrecs;
    panel_.SetLines(recs.empty() ? QStringLiteral("{No Corrupt lines}") : Joined(recs));
    shown_ = 'C';
}

void TextViews::ShowVesselInfo() {
    SetMemoMode('V');
    panel_.SetLines(Joined(VesselTableLines(app_.session)));
    shown_ = 'V';
}

void TextViews::ShowSources() {
    SetMemoMode(app_.session.settings.memomode);
    sources_ = true;
    panel_.title()->setText(QStringLiteral("Sources"));
    panel_.setPageButtonsVisible(false);
    // The table's columns only line up unwrapped.
    panel_.memo()->setLineWrapMode(QPlainTextEdit::NoWrap);
    panel_.SetLines(Joined(SourcesTableLines(app_.session)));
    shown_ = 's';
}

void TextViews::ShowEncounters() {
    SetMemoMode(app_.session.settings.memomode);
    encounters_ = true;
    panel_.title()->setText(QStringLiteral("Encounters"));
    panel_.setPageButtonsVisible(false);
    panel_.memo()->setLineWrapMode(QPlainTextEdit::NoWrap);
    panel_.SetLines(Joined(EncounterTableLines(app_.session)));
    shown_ = 'e';
}

void TextViews::ShowSource(int n) {
    SetMemoMode('S');
    const Session& s = app_.session;
    const int t = n > 0 ? std::min(n, s.totlines) : 1;
    app_.sourceline = t;
    const int h = s.settings.pagesize / 2;
    QStringList lines;
    int lineat = -1;
    // Before any load (or after a failed one) the page comes from the last file named.
    std::vector<TLogFile> files = s.logfiles;
    if (files.empty()) {
        TLogFile& last = files.emplace_back();
        last.path = EntryFirstPath(s.settings.lastfile);
        last.firstline = 1;
        last.lastline = INT32_MAX;
    }
    std::string failed;
    const bool ok = ReadSourcePage(files, t - h, t + h, t, lines, lineat, failed);
    MemoEdit* memo = panel_.memo();
    memo->setUpdatesEnabled(false);
    panel_.SetLines(lines.join(u'\n'));
    memo->setUpdatesEnabled(true);
    // The caret goes to the line without taking the keyboard from the grid the user is in.
    memo->PutCaretAtLine(std::max(lineat, 0));
    memo->centerCursor();
    shown_ = 'S';
    if (!ok) app_.platform.ShowMessage(MsgKind::Error, "Error reading file:\r\n" + failed);
}

void TextViews::ClearView() {
    shown_ = 0;
    panel_.SetLines(QString());
}

void TextViews::Refresh() {
    // Only the views whose texts follow the units and formats; a source page or the corrupt
    // lines read the same in any settings.
    switch (shown_) {
        case 'R': ShowSummary(); break;
        case 'V': ShowVesselInfo(); break;
        case 's': ShowSources(); break;
        case 'e': ShowEncounters(); break;
        default: break;
    }
}

void TextViews::PageUp() { ShowSource(app_.sourceline - app_.session.settings.pagesize / 2); }
void TextViews::PageDown() { ShowSource(app_.sourceline + app_.session.settings.pagesize / 2); }

void TextViews::ReadAndShowNumber(const QString& text) {
    int m = 0;
    if (!ReadInt(app_, text, m)) return;
    emit gridModeWanted('A');
    emit aisVesselWanted(m);
}

void TextViews::Memo1Click() {
    if (sources_) {
        const QTextCursor c = panel_.memo()->textCursor();
        const std::int32_t line = SourcesLineAt(app_.session, c.blockNumber(), c.positionInBlock());
        if (line > 0) ShowSource(line);
        return;
    }
    if (encounters_) {
        const int line = panel_.memo()->textCursor().blockNumber();
        const std::int32_t mmsi = EncounterAtLine(app_.session, line);
        if (mmsi <= 0) return;
        if (app_.session.settings.gridmode == 'N') emit gridModeWanted('A');
        emit aisVesselWanted(mmsi);
        emit encounterChosen(line - kEncounterHeadLine - 1);
        return;
    }
    const char mode = app_.session.settings.memomode;
    const CaretLine c = panel_.memo()->Caret(mode == 'R');
    switch (mode) {
        case 'C': {
            int n = 0;
            if (LineNumberOf(c.text, n)) ShowSource(n);
            break;
        }
        case 'S': {
            int n = 0;
            if (!LineNumberOf(c.text, n)) break;
            const TEvents& events = app_.session.events;
            for (int i = 0; i < events.count(); ++i) {
                if (events[i].recnumb >= n) {
                    emit eventTopWanted(i);
                    break;
                }
            }
            break;
        }
        case 'R': {
            const QString w = FieldAtColumn(c.text, c.x);
            if (c.y == 1) {
                if (w.contains(QStringLiteral("Corrupt"))) ShowCorrupt();
                else emit gridModeWanted('N');
            } else if (c.y == 4 && app_.session.vehicles.count() > 0) {
                // Without vessels the fifth line is not the AIS line but a count the load noted.
                emit gridModeWanted('A');
                const qsizetype at = w.indexOf(QStringLiteral("MMSI"));
                if (at < 0) {
                    emit aisVesselWanted(-1);
                } else {
                    const qsizetype eq = w.indexOf(u'=', at);
                    int m = 0;
                    if (ReadInt(app_, eq < 0 ? QString() : w.mid(eq + 1), m)) emit aisVesselWanted(m);
                }
            }
            break;
        }
        case 'V':
            ReadAndShowNumber(c.text.left(9));
            break;
        default:
            break;
    }
}

}  // namespace brenvik::ui
