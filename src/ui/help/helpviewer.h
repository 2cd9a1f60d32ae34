#pragma once
// The help viewer: local HTML pages, one per help context number ("<context>.html"), shown in a
// small browser window with Back, Forward and Contents.
#include <QMainWindow>
#include <QString>

class QAction;
class QTextBrowser;

namespace brenvik::ui {

// The folder holding the help pages; set when the main window is first shown.
void SetHelpFolder(const QString& folder);
QString HelpFolder();

// Where the pages of a program in programfolder lie: "help" beside it in the build tree,
// otherwise "../share/brenvik/help" as installed. The result is a cleaned absolute path.
QString FindHelpFolder(const QString& programfolder);
// SetHelpFolder(FindHelpFolder(programfolder)).
void InitHelp(const QString& programfolder);

// Shows the page of a context number in the help window. A missing folder or page is the
// viewer's matter: it shows its own "not found" page and the program's state does not change.
void ShowHelpTopic(int context);

class HelpBrowser;

// The help window: one per run, created by the first ShowHelpTopic.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a page of the help folder by its file name, e.g. "10.html".
    void showPage(const QString& name);
    QTextBrowser* browser() const;

private:
    void updateTitle();

    HelpBrowser* view;
    QAction* backaction;
    QAction* forwardaction;
};

// The help window of this run, or nullptr before the first topic was shown.
HelpWindow* CurrentHelpWindow();

}  // namespace brenvik::ui
