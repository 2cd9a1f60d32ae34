#include "help/helpviewer.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace brenvik::ui {
namespace {

const QString kContentsPage = QStringLiteral("10.html");
const QString kNotFoundScheme = QStringLiteral("help-not-found");

QString& Folder() {
    static QString folder;
    return folder;
}

QPointer<HelpWindow>& Window() {
    static QPointer<HelpWindow> window;
    return window;
}

QString NotFoundHtml(const QString& name) {
    const QString folder = Folder().isEmpty() ? QStringLiteral("(none)") : Folder();
    return QStringLiteral(
               "<html><head><title>Help page not found</title></head><body>"
               "<h2>Help page not found</h2>"
               "<p>The help page <b>%1</b> is not in the help folder <b>%2</b>.</p>"
               "<p>The help pages are installed with Brenvik; reinstalling it restores them.</p>"
               "<p><a href=\"%3\">Contents</a></p></body></html>")
        .arg(name.toHtmlEscaped(), folder.toHtmlEscaped(), kContentsPage);
}

}  // namespace

// A text browser that answers a link to a missing local page with the viewer's own page (kept
// in the history like any other, so Back returns to where the reader was), and hands links to
// other schemes to the desktop.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
        const QUrl url = Resolve(name);
        if (url.scheme() == kNotFoundScheme) {  // back or forward to a not-found page
            QTextBrowser::doSetSource(url, QTextDocument::HtmlResource);
            return;
        }
        if (!url.isLocalFile()) {
            QDesktopServices::openUrl(url);
            return;
        }
        if (Folder().isEmpty() || !QFileInfo(url.toLocalFile()).isFile()) {
            QUrl missing;
            missing.setScheme(kNotFoundScheme);
            missing.setPath(url.fileName().isEmpty() ? name.toString() : url.fileName());
            QTextBrowser::doSetSource(missing, QTextDocument::HtmlResource);
            return;
        }
        QTextBrowser::doSetSource(url, type);
    }

    QVariant loadResource(int type, const QUrl& name) override {
        if (name.scheme() == kNotFoundScheme) return NotFoundHtml(name.path());
        return QTextBrowser::loadResource(type, name);
    }

private:
    // Relative names resolve against the page shown, or the help folder when that is not a page.
    QUrl Resolve(const QUrl& name) const {
        const QUrl base = source().isLocalFile() ? source()
                                                 : QUrl::fromLocalFile(Folder() + QLatin1Char('/'));
        return base.resolved(name);
    }
};

void SetHelpFolder(const QString& folder) { Folder() = folder; }
QString HelpFolder() { return Folder(); }

QString FindHelpFolder(const QString& programfolder) {
    const QDir dir(programfolder);
    const QString beside = dir.absoluteFilePath(QStringLiteral("help"));
    if (QFileInfo(beside).isDir()) return QDir::cleanPath(beside);
    return QDir::cleanPath(dir.absoluteFilePath(QStringLiteral("../share/brenvik/help")));
}

void InitHelp(const QString& programfolder) { SetHelpFolder(FindHelpFolder(programfolder)); }

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), view(new HelpBrowser(this)) {
    setWindowTitle(QStringLiteral("Brenvik Help"));
    resize(760, 640);
    setCentralWidget(view);
    view->setOpenExternalLinks(false);
    view->document()->setDocumentMargin(10);

    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    backaction = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"),
                                view, &QTextBrowser::backward);
    forwardaction = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                   QStringLiteral("Forward"), view, &QTextBrowser::forward);
    bar->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Contents"), this,
                   [this] { showPage(kContentsPage); });
    backaction->setShortcut(QKeySequence::Back);
    forwardaction->setShortcut(QKeySequence::Forward);
    backaction->setEnabled(false);
    forwardaction->setEnabled(false);

    connect(view, &QTextBrowser::backwardAvailable, backaction, &QAction::setEnabled);
    connect(view, &QTextBrowser::forwardAvailable, forwardaction, &QAction::setEnabled);
    connect(view, &QTextBrowser::sourceChanged, this, &HelpWindow::updateTitle);
    connect(view->document(), &QTextDocument::contentsChanged, this, &HelpWindow::updateTitle);
}

void HelpWindow::showPage(const QString& name) {
    view->setSource(QUrl::fromLocalFile(QDir(Folder()).absoluteFilePath(name)));
}

QTextBrowser* HelpWindow::browser() const { return view; }

void HelpWindow::updateTitle() {
    const QString title = view->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Brenvik Help")
                                   : QStringLiteral("Brenvik Help - ") + title);
}

HelpWindow* CurrentHelpWindow() { return Window().data(); }

void ShowHelpTopic(int context) {
    // Help is asked for from modal boxes too (About, Options, message boxes), and a plain window
    // would be blocked by them. While a modal box is up the help window is modal itself, on top
    // of it; it stays a window of its own, so it outlives a box that closes right after asking.
    QPointer<HelpWindow>& window = Window();
    if (!window) {
        window = new HelpWindow;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    QWidget* modal = QApplication::activeModalWidget();
    Qt::WindowModality wanted = Qt::NonModal;
    if (modal == window)
        wanted = window->windowModality();  // already on top of the modal stack
    else if (modal)
        wanted = Qt::ApplicationModal;
    if (window->windowModality() != wanted) {
        window->hide();  // modality changes only take effect on a hidden window
        window->setWindowModality(wanted);
    }
    window->showPage(QStringLiteral("%1.html").arg(context));
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace brenvik::ui
