#pragma once
// The help viewer: local HTML pages, one per help context number, shown in a browser window.
#include <QString>

namespace brenvik::ui {

// The folder holding the help pages; set when the main window is first shown.
void SetHelpFolder(const QString& folder);
QString HelpFolder();

// Shows the page of a context number ("<context>.html" in the help folder). A missing page is
// the viewer's matter: the program's state does not change.
void ShowHelpTopic(int context);

}  // namespace brenvik::ui
