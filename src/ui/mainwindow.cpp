#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

#include "ais/vessels.h"
#include "datafolder.h"
#include "dialogcommands.h"
#include "filecommands.h"
#include "gridcommands.h"
#include "help/helpviewer.h"
#include "helptopics.h"
#include "logtext.h"
#include "recentfiles.h"
#include "settings/settingsfile.h"
#include "textviews.h"
#include "voyage/voyagecommands.h"
#include "voyage/voyagepane.h"
#include "widgets/gridarea.h"
#include "widgets/textpanel.h"
#include "widgets/welcomepanel.h"

namespace brenvik::ui {
namespace {

constexpr int kMinSplitter = 96;

QAction* Add(QMenu* menu, const QString& text, bool enabled = true) {
    QAction* a = menu->addAction(text);
    a->setEnabled(enabled);
    return a;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      app_(std::make_unique<AppState>()),
      panel_(new TextPanel),
      splitter_(new QSplitter(Qt::Vertical, this)),
      bottom_(new QWidget),
      beside_(new QSplitter(Qt::Horizontal)),
      voyage_(new VoyagePane(*app_)),
      area_(new GridArea(bottom_)),
      welcome_(new WelcomePanel(bottom_)),
      timer_(new QTimer(this)) {
    setWindowTitle(kTitle);
    setAcceptDrops(true);
    app_->platform.setParentWidget(this);

    // Text panel, a 3-pixel splitter, and the grid area filling the rest.
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(3);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(panel_);
    beside_->setObjectName(QStringLiteral("VoyageSplitter"));
    beside_->setChildrenCollapsible(false);
    beside_->addWidget(bottom_);
    beside_->addWidget(voyage_);
    beside_->setStretchFactor(0, 1);
    splitter_->addWidget(beside_);
    splitter_->setStretchFactor(1, 1);
    splitter_->handle(1)->setToolTip(QStringLiteral("Split screen up/down"));
    panel_->setMinimumHeight(kMinSplitter);
    area_->setObjectName(QStringLiteral("Panel2"));
    area_->hide();
    bottom_->installEventFilter(this);
    setCentralWidget(splitter_);
    statusBar();

    timer_->setSingleShot(true);
    timer_->setInterval(1);

    BuildMenus();
    views_ = new TextViews(*app_, *panel_, this);
    grids_ = new GridCommands(*app_, *area_, *views_, actions_, *panel_->marked(), this);
    files_ = new FileCommands(*app_, *grids_, *statusBar(), *this, this);
    dialogs_ = new DialogCommands(*app_, actions_, *grids_, *files_, *this, this);
    voyagecmds_ = new VoyageCommands(*app_, *voyage_, *beside_, *grids_, *views_, actions_, this);
    Wire();

    // FormCreate: the data folder and the settings file.
    app_->programfolder = QCoreApplication::applicationDirPath();
    app_->datafolder = FindDataFolder(app_->platform, app_->programfolder);
    InitSettingsFile(app_->session, CoreText(SettingsFolder(app_->datafolder)));
    resize(960, 720);
}

MainWindow::~MainWindow() {
    // The grids' models read the session, which goes with the members: take the widgets down
    // while it is still there, not in QWidget's destructor after it.
    hide();
    delete takeCentralWidget();
}

void MainWindow::BuildMenus() {
    MainActions& a = actions_;
    a.fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    a.open = Add(a.fileMenu, QStringLiteral("Open..."));
    a.open->setShortcut(QKeySequence::Open);
    a.openVoyage = Add(a.fileMenu, QStringLiteral("Open Voyage..."));
    a.openVoyage->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    a.openVoyageFolder = Add(a.fileMenu, QStringLiteral("Open Voyage Folder..."));
    a.reopen = Add(a.fileMenu, QStringLiteral("ReOpen"));
    a.reopen->setShortcut(Qt::Key_F5);
    a.fileMenu->addSeparator();
    a.saveAll = Add(a.fileMenu, QStringLiteral("Save All as..."), false);
    a.saveMarked = Add(a.fileMenu, QStringLiteral("Save Marked NMEA events as.."), false);
    a.saveAISPos = Add(a.fileMenu, QStringLiteral("Save AIS Pos.Reports as..."), false);
    a.saveAISStatic = Add(a.fileMenu, QStringLiteral("Save AIS Vessel Static Info as..."), false);
    a.fileMenu->addSeparator();
    a.exit = Add(a.fileMenu, QStringLiteral("Exit"));
    a.exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    a.fileMenu->addSeparator();
    for (QAction*& r : a.recent) {
        r = Add(a.fileMenu, QString());
        r->setVisible(false);
    }

    a.optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    a.optGeneral = Add(a.optionsMenu, QStringLiteral("General"), false);
    a.optFormats = Add(a.optionsMenu, QStringLiteral("Formats"), false);
    a.optFields = Add(a.optionsMenu, QStringLiteral("Fields"), false);
    a.optEvents = Add(a.optionsMenu, QStringLiteral("Events"), false);
    a.optionsMenu->addSeparator();
    a.openSettings = Add(a.optionsMenu, QStringLiteral("Open Settings..."), false);
    a.saveSettings = Add(a.optionsMenu, QStringLiteral("Save Settings"), false);
    a.saveSettingsAs = Add(a.optionsMenu, QStringLiteral("Save Settings As..."), false);
    a.resetSettings = Add(a.optionsMenu, QStringLiteral("Reset Settings"), false);

    a.viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    a.report = Add(a.viewMenu, QStringLiteral("Report"));
    a.source = Add(a.viewMenu, QStringLiteral("Source"));
    a.corrupt = Add(a.viewMenu, QStringLiteral("Corrupt Lines"));
    a.vessels = Add(a.viewMenu, QStringLiteral("Vessels (AIS)"));
    a.sources = Add(a.viewMenu, QStringLiteral("Sources"));
    a.encounters = Add(a.viewMenu, QStringLiteral("Encounters"));
    a.viewMenu->addSeparator();
    a.nmea = Add(a.viewMenu, QStringLiteral("NMEA events"));
    a.ais = Add(a.viewMenu, QStringLiteral("AIS events"));
    a.both = Add(a.viewMenu, QStringLiteral("NMEA + AIS"));

    a.helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    a.contents = Add(a.helpMenu, QStringLiteral("Contents"));
    a.contents->setShortcut(QKeySequence::HelpContents);
    a.helpMenu->addSeparator();
    a.about = Add(a.helpMenu, QStringLiteral("About..."), false);

    a.popup = new QMenu(this);
    a.makeFirst = Add(a.popup, QStringLiteral("Make First Event"));
    a.makeLast = Add(a.popup, QStringLiteral("Make Last Event"));
}

void MainWindow::Wire() {
    MainActions& a = actions_;
    connect(a.open, &QAction::triggered, files_, &FileCommands::Open);
    connect(a.openVoyage, &QAction::triggered, files_, &FileCommands::OpenVoyage);
    connect(a.openVoyageFolder, &QAction::triggered, files_, &FileCommands::OpenVoyageFolder);
    connect(a.reopen, &QAction::triggered, files_, &FileCommands::Reopen);
    connect(a.exit, &QAction::triggered, this, &QWidget::close);
    connect(a.report, &QAction::triggered, views_, &TextViews::ShowSummary);
    connect(a.source, &QAction::triggered, this, [this] {
        if (!app_->session.events.empty()) views_->ShowSource(grids_->SelectedSourceLine());
    });
    connect(a.corrupt, &QAction::triggered, views_, &TextViews::ShowCorrupt);
    connect(a.vessels, &QAction::triggered, views_, &TextViews::ShowVesselInfo);
    connect(a.sources, &QAction::triggered, views_, &TextViews::ShowSources);
    connect(a.encounters, &QAction::triggered, views_, &TextViews::ShowEncounters);
    connect(a.nmea, &QAction::triggered, this, [this] { grids_->SwitchGridMode('N'); });
    connect(a.ais, &QAction::triggered, this, [this] { grids_->SwitchGridMode('A'); });
    connect(a.both, &QAction::triggered, this, [this] { grids_->SwitchGridMode('B'); });
    connect(a.contents, &QAction::triggered, this, [] { ShowHelpTopic(help::Contents); });
    connect(a.makeFirst, &QAction::triggered, grids_, &GridCommands::MakeFirstEvent);
    connect(a.makeLast, &QAction::triggered, grids_, &GridCommands::MakeLastEvent);

    connect(panel_->pageUp(), &QToolButton::clicked, views_, &TextViews::PageUp);
    connect(panel_->pageDown(), &QToolButton::clicked, views_, &TextViews::PageDown);
    connect(views_, &TextViews::gridModeWanted, grids_, &GridCommands::SwitchGridMode);
    connect(views_, &TextViews::aisVesselWanted, grids_, &GridCommands::SelectAISVessel);
    connect(views_, &TextViews::eventTopWanted, grids_, &GridCommands::ShowEventAtTop);

    connect(files_, &FileCommands::loaded, this, [this] {
        voyagecmds_->AfterLoad();
        area_->show();
        area_->raise();
        welcome_->hide();
    });
    connect(files_, &FileCommands::loadBegins, this, &MainWindow::LockForLoad);
    connect(files_, &FileCommands::loadEnds, this, &MainWindow::UnlockAfterLoad);
    connect(timer_, &QTimer::timeout, this, &MainWindow::StartupOpen);
    connect(dialogs_, &DialogCommands::displayChanged, views_, &TextViews::Refresh);

    app_->platform.onLoadStarted = [this] {
        HideGrids();
        views_->ClearView();
    };
    app_->platform.onShowReport = [this](const std::vector<std::string>& lines) { views_->ShowReportLines(lines); };
}

void MainWindow::HideGrids() {
    for (QWidget* g : {static_cast<QWidget*>(area_->dataGrid()), static_cast<QWidget*>(area_->maxminGrid()),
                       static_cast<QWidget*>(area_->aisGrid())})
        g->hide();
}

void MainWindow::LockForLoad() {
    locked_.clear();
    for (QAction* a : findChildren<QAction*>()) {
        if (!a->isEnabled()) continue;
        locked_.emplace_back(a);
        a->setEnabled(false);
    }
    menuBar()->setEnabled(false);
    focus_ = QApplication::focusWidget();
    splitter_->setEnabled(false);
    // The grids' models read the lists in their paint events, the grid area their columns when
    // it is laid out (a resize), the voyage pane its voyage: none of them may run now.
    HideGrids();
    areashown_ = !area_->isHidden();
    area_->hide();
    voyage_->Clear(QStringLiteral("Reading the log..."));
}

void MainWindow::UnlockAfterLoad(bool complete) {
    for (const QPointer<QAction>& a : locked_)
        if (a) a->setEnabled(true);
    locked_.clear();
    menuBar()->setEnabled(true);
    splitter_->setEnabled(true);
    if (areashown_) area_->show();
    if (focus_) focus_->setFocus();
    // A completed load refills the pane with the grids; a failed one leaves nothing to draw.
    if (!complete) voyage_->Clear(QStringLiteral("The log could not be read: there is nothing to draw."));
    if (closeafterload_) {
        closeafterload_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void MainWindow::showEvent(QShowEvent* e) {
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QMainWindow::showEvent(e);
}

void MainWindow::FormShow() {
    Session& s = app_->session;
    area_->maxminGrid()->clearSelection();
    ReadStartupSettings(s);
    views_->ShowWelcome();
    const auto& b = s.settings.windowbounds;
    move(b[0], b[1]);
    resize(std::max(b[2] - b[0], 200), std::max(b[3] - b[1], 150));
    splitter_->setSizes({std::max(s.settings.splitterpos, kMinSplitter), std::max(height() - s.settings.splitterpos, 1)});
    app_->userfolder = FindUserFolder(app_->platform);
    InitHelp(app_->programfolder);
    CreateVhcls(s, LookupFolders(CoreText(app_->programfolder)));
    dialogs_->recent()->RefreshRecentMenu();
    if (s.settings.lastfile.empty()) actions_.reopen->setVisible(false);
    grids_->SetGridMode(s.settings.gridmode);
    voyagecmds_->ReadSettings();
    PlaceWelcome();
    if (s.settings.reopenlast || !startupfile_.isEmpty()) timer_->start();
}

void MainWindow::StartupOpen() {
    timer_->stop();
    const QString path = startupfile_.isEmpty() ? LogText(app_->session.settings.lastfile) : startupfile_;
    startupfile_.clear();
    files_->OpenPath(path);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (files_->loading()) {
        // The reading thread owns the session: stop it, and close once it has ended.
        files_->Cancel();
        closeafterload_ = true;
        e->ignore();
        return;
    }
    Session& s = app_->session;
    s.settings.splitterpos = splitter_->sizes().value(0, s.settings.splitterpos);
    s.settings.windowbounds = {x(), y(), x() + width(), y() + height()};
    WriteSettings(s, s.settings.inifile);
    voyagecmds_->WriteSettings();
    // The help window is a window of its own: left open, it would keep the program running.
    if (HelpWindow* help = CurrentHelpWindow()) help->close();
    QMainWindow::closeEvent(e);
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    PlaceWelcome();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    // The bottom of the splitter: the grid area fills it, the welcome panel sits 20 px down.
    if (watched == bottom_ && e->type() == QEvent::Resize) {
        area_->setGeometry(bottom_->rect());
        PlaceWelcome();
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::PlaceWelcome() { welcome_->move(std::max((bottom_->width() - welcome_->width()) / 2, 0), 20); }

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (files_->loading()) return;
    const QList<QUrl> urls = e->mimeData()->hasUrls() ? e->mimeData()->urls() : QList<QUrl>{};
    if (!urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); }))
        e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e) {
    // Several files (or a folder) dropped at once are one voyage.
    QStringList paths;
    for (const QUrl& u : e->mimeData()->urls()) paths << u.toLocalFile();
    e->acceptProposedAction();
    // After the drop has finished, so the source application is not kept waiting.
    QTimer::singleShot(0, this, [this, paths] { files_->OpenPaths(paths); });
}

}  // namespace brenvik::ui
