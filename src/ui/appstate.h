#pragma once
// What the desktop program holds for its whole run: the platform, the session (settings, the
// catalogue and the lists a load fills), the marked range and the folders.
#include <QString>

#include "models/markstate.h"
#include "qtplatform.h"
#include "session.h"

namespace brenvik::ui {

struct AppState {
    QtPlatform platform;
    Session session{platform};
    MarkState marks;
    QString programfolder;
    QString datafolder;
    QString userfolder;
    int sourceline = 1;  // centre line of the source view
};

}  // namespace brenvik::ui
