#pragma once
// Pictures of the main window for the documentation and for checking the look: the program
// performs the user's steps through the same slots and grabs the window after each.
#include <QString>
#include <QStringList>

namespace brenvik::ui {

// Returns the process exit status: 0 when every picture was written. The voyage pane is taken
// on logfile and on each of voyagelogs.
int TakeScreenshots(const QString& folder, const QString& logfile, const QStringList& voyagelogs = {});

}  // namespace brenvik::ui
