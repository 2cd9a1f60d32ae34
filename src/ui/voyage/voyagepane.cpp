#include "voyage/voyagepane.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>

#include "appstate.h"
#include "filedialogs.h"
#include "logtext.h"
#include "model/logfiles.h"
#include "present/valuetext.h"
#include "voyage/mapview.h"
#include "voyage/stripsview.h"
#include "voyage/timecursor.h"
#include "voyage/voyageexport.h"

namespace brenvik::ui {

VoyagePane::VoyagePane(AppState& app, QWidget* parent)
    : QWidget(parent),
      app_(app),
      voyage_(std::make_unique<chart::TVoyage>()),
      cursor_(new TimeCursor(this)),
      fitall_(new QToolButton),
      fitmarked_(new QToolButton),
      colour_(new QComboBox),
      split_(new QSplitter(Qt::Vertical)),
      map_(new MapView(app, *cursor_)),
      strips_(new StripsView(app, *cursor_)),
      message_(new QLabel) {
    setObjectName(QStringLiteral("VoyagePane"));
    fitall_->setText(QStringLiteral("Fit voyage"));
    fitall_->setToolTip(QStringLiteral("Show the whole voyage and the AIS vessels"));
    fitmarked_->setText(QStringLiteral("Fit marked"));
    fitmarked_->setToolTip(QStringLiteral("Show the marked range of events"));
    colour_->addItems({QStringLiteral("Plain"), QStringLiteral("Speed"), QStringLiteral("Depth"), QStringLiteral("Time"),
                       QStringLiteral("Alarm stage")});
    colour_->setCurrentIndex(static_cast<int>(ColourBy::Speed));
    colour_->setToolTip(QStringLiteral("Colour the track by"));
    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(4, 2, 4, 2);
    tools->addWidget(fitall_);
    tools->addWidget(fitmarked_);
    tools->addSpacing(12);
    tools->addWidget(new QLabel(QStringLiteral("Colour by")));
    tools->addWidget(colour_);
    tools->addStretch(1);

    message_->setObjectName(QStringLiteral("VoyageMessage"));
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    message_->setMargin(24);
    split_->addWidget(map_);
    split_->addWidget(strips_);
    split_->setChildrenCollapsible(false);
    split_->setStretchFactor(0, 3);
    split_->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(tools);
    layout->addWidget(split_, 1);
    layout->addWidget(message_, 1);
    setFocusPolicy(Qt::StrongFocus);

    connect(fitall_, &QToolButton::clicked, map_, &MapView::FitAll);
    connect(fitmarked_, &QToolButton::clicked, map_, &MapView::FitMarked);
    connect(colour_, &QComboBox::currentIndexChanged, this, [this](int i) { map_->SetColourBy(static_cast<ColourBy>(i)); });
    Reload();
}

VoyagePane::~VoyagePane() = default;

QString VoyagePane::message() const { return message_->isHidden() ? QString() : message_->text(); }

void VoyagePane::ShowMessage(const QString& text) {
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
    split_->setVisible(text.isEmpty());
    fitall_->setEnabled(text.isEmpty());
    fitmarked_->setEnabled(text.isEmpty());
}

void VoyagePane::Reload() {
    const Session& s = app_.session;
    auto fresh = std::make_unique<chart::TVoyage>(chart::BuildVoyage(s.events, s.aisevents));
    std::vector<QString> labels;
    for (const chart::TVesselTrack& vt : fresh->vessels) {
        char id[16];
        std::snprintf(id, sizeof id, "%09d", vt.mmsi);
        const TVehicle* v = s.vehicles.findvehicle(id);
        QString name = v != nullptr ? LogText(v->name).trimmed() : QString();
        name.remove('@');
        labels.push_back(name.isEmpty() ? QString::number(vt.mmsi) : name.trimmed());
    }
    std::vector<int> ownpoint(static_cast<std::size_t>(s.events.count()), -1);
    for (std::size_t i = 0; i < fresh->own.size(); ++i) ownpoint[static_cast<std::size_t>(fresh->own.ix[i])] = static_cast<int>(i);
    // The views let go of the old voyage before it goes.
    map_->SetVoyage(fresh.get(), std::move(labels), std::move(ownpoint));
    strips_->SetVoyage(fresh.get());
    voyage_ = std::move(fresh);
    cursor_->setEvent(-1);

    const bool positions = voyage_->own.size() > 0 || !voyage_->vessels.empty();
    const bool instruments = !strips_->shown().empty() && voyage_->own.size() > 0;
    if (s.recnumb == 0) {
        ShowMessage(QStringLiteral("This log is empty: there is nothing to draw.\n\nThe voyage view draws the track "
                                   "of a log on the coastline and its instruments over time."));
        return;
    }
    if (!positions) {
        // Events are cut at position fixes: without one there are no events, so no strips either.
        ShowMessage(QStringLiteral("No positions in this log: nothing to draw.\n\nThe map and the instrument "
                                   "strips need position fixes (RMC, GGA or GLL sentences with a valid fix) or "
                                   "AIS position reports; this log has none."));
        return;
    }
    ShowMessage(QString());
    strips_->setVisible(instruments);
    // The strips get about 60 pixels each, the map at least 45 % of the height.
    const int total = std::max(split_->height(), 300);
    const int want = std::min(static_cast<int>(strips_->shown().size()) * 60 + 24, total * 55 / 100);
    split_->setSizes({total - want, want});
}

void VoyagePane::Clear(const QString& text) {
    // The views let go of the voyage before it goes; none of them reads the session then.
    map_->SetVoyage(nullptr, {}, {});
    strips_->SetVoyage(nullptr);
    voyage_ = std::make_unique<chart::TVoyage>();
    cursor_->setEvent(-1);
    ShowMessage(text);
}

void VoyagePane::Refresh() {
    const int ev = cursor_->current();
    strips_->SetVoyage(voyage_.get());
    map_->update();
    cursor_->setEvent(ev);
}

void VoyagePane::Step(int delta) {
    const std::vector<std::int32_t>& timed = voyage_->timed;
    if (timed.empty()) return;
    const int cur = cursor_->current();
    auto it = std::lower_bound(timed.begin(), timed.end(), cur);
    std::ptrdiff_t k = it - timed.begin();
    if (cur < 0) k = delta > 0 ? -1 : static_cast<std::ptrdiff_t>(timed.size());
    else if (it == timed.end() || *it != cur) k = delta > 0 ? k - 1 : k;
    k = std::clamp<std::ptrdiff_t>(k + delta, 0, static_cast<std::ptrdiff_t>(timed.size()) - 1);
    cursor_->setEvent(timed[static_cast<std::size_t>(k)]);
}

void VoyagePane::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up: Step(-1); break;
        case Qt::Key_Right:
        case Qt::Key_Down: Step(1); break;
        case Qt::Key_PageUp: Step(-10); break;
        case Qt::Key_PageDown: Step(10); break;
        default: QWidget::keyPressEvent(e); return;
    }
    e->accept();
}

QString VoyagePane::Caption() const { return VoyageCaption(app_.session, *voyage_); }

bool VoyagePane::Export(int part, const QString& path) const {
    return ExportVoyagePicture(map_->isVisible() ? map_ : nullptr, strips_->isVisible() ? strips_ : nullptr, part, path, Caption());
}

void VoyagePane::contextMenuEvent(QContextMenuEvent* e) {
    if (!message_->isHidden()) return;
    QMenu menu(this);
    const char* const parts[] = {"map", "strips", "map and strips"};
    for (int part = 0; part < 3; ++part) {
        if ((part == 0 || part == 2) && !map_->isVisible()) continue;
        if ((part == 1 || part == 2) && !strips_->isVisible()) continue;
        for (const bool svg : {false, true}) {
            QAction* a = menu.addAction(QStringLiteral("Save %1 as %2...").arg(QLatin1String(parts[part]), svg ? QStringLiteral("SVG") : QStringLiteral("PNG")));
            connect(a, &QAction::triggered, this, [this, part, svg] {
                QtFileDialogs dialogs(this);
                FileDialogRequest r;
                r.caption = svg ? QStringLiteral("Save picture as SVG") : QStringLiteral("Save picture as PNG");
                r.filters = {svg ? QStringLiteral("SVG pictures (*.svg)") : QStringLiteral("PNG pictures (*.png)")};
                r.defaultsuffix = svg ? QStringLiteral("svg") : QStringLiteral("png");
                r.filename = QFileInfo(LogText(EntryFirstPath(app_.session.settings.lastfile))).completeBaseName() + QStringLiteral("-voyage");
                r.confirmoverwrite = true;
                if (auto path = dialogs.SaveFile(r)) {
                    if (!Export(part, *path))
                        app_.platform.ShowMessage(MsgKind::Error, "Unable to save the picture:\r\n" + path->toStdString());
                }
            });
        }
        menu.addSeparator();
    }
    menu.exec(e->globalPos());
}

}  // namespace brenvik::ui
