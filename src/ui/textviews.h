#pragma once
// The text panel's views: the summary report, a page of the source file, the corrupt lines and
// the vessel table, their titles and page buttons, and where a click on a panel line leads.
#include <QObject>
#include <QString>

#include <string>
#include <vector>

#include "model/logfiles.h"

namespace brenvik::ui {

struct AppState;
class TextPanel;

class TextViews : public QObject {
    Q_OBJECT
public:
    TextViews(AppState& app, TextPanel& panel, QObject* parent = nullptr);

    void SetMemoMode(char mode);
    void ShowSummary();
    void ShowReportLines(const std::vector<std::string>& lines);
    void ShowSource(int line);
    void ShowCorrupt();
    void ShowVesselInfo();
    // What each talker sent and how the clocks agree; a click on a line-number cell shows the
    // source there. Not one of the stored panel modes: the settings keep the last of those.
    void ShowSources();
    bool SourcesShown() const { return sources_; }
    // How close every vessel came (present/encountertable.h); a click on a row selects that
    // vessel in the AIS grid. Not a stored panel mode either.
    void ShowEncounters();
    bool EncountersShown() const { return encounters_; }
    void PageUp();
    void PageDown();
    // The welcome line, centred, before any file is read.
    void ShowWelcome();
    // An empty panel, as a load begins.
    void ClearView();
    // The view on screen made again in the current units and formats (after Options).
    void Refresh();
    // The click rules, for the caret where the click left it.
    void Memo1Click();

signals:
    // What a click asks of the grids.
    void gridModeWanted(char mode);
    void aisVesselWanted(int mmsi);
    void eventTopWanted(int eventindex);
    // A row of the encounter table was clicked: the position of its encounter in the
    // session's list, for a view that draws both tracks and the closest approach.
    void encounterChosen(int index);

private:
    void ReadAndShowNumber(const QString& text);

    AppState& app_;
    TextPanel& panel_;
    bool sources_ = false;
    bool encounters_ = false;
    // The view on screen: R, S, C, V, s (sources), 0 for the welcome line or an empty panel.
    char shown_ = 0;
};

// The item of a comma-separated line around column x, trimmed.
QString FieldAtColumn(const QString& line, int x);

// Lines first..last of the loaded files as the loader numbered them, each numbered "%07d|".
// lineat is set to the index of the line `target` in the result (-1 if not reached). False
// when a file cannot be opened or read (its path in failed); what was read stays in lines.
bool ReadSourcePage(const std::vector<TLogFile>& files, int first, int last, int target, QStringList& lines, int& lineat,
                    std::string& failed);

}  // namespace brenvik::ui
