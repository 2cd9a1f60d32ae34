#include "help/helpviewer.h"

#include <QTextBrowser>
#include <QUrl>

namespace brenvik::ui {
namespace {
QString& Folder() {
    static QString folder;
    return folder;
}
}  // namespace

void SetHelpFolder(const QString& folder) { Folder() = folder; }
QString HelpFolder() { return Folder(); }

void ShowHelpTopic(int context) {
    if (Folder().isEmpty()) return;
    static QTextBrowser* viewer = nullptr;
    if (!viewer) {
        viewer = new QTextBrowser;
        viewer->setAttribute(Qt::WA_DeleteOnClose, false);
        viewer->setWindowTitle(QStringLiteral("Brenvik Help"));
        viewer->resize(720, 640);
    }
    viewer->setSource(QUrl::fromLocalFile(Folder() + QStringLiteral("/%1.html").arg(context)));
    viewer->show();
    viewer->raise();
}

}  // namespace brenvik::ui
