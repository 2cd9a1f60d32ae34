#include "dialogs/optionsdialog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/stepspin.h"
#include "help/helpviewer.h"
#include "helptopics.h"
#include "session.h"

namespace brenvik::ui {
namespace {

constexpr int fieldRole = Qt::UserRole;         // the item's field number
constexpr int positionRole = Qt::UserRole + 1;  // its position in fieldorder

QLabel* Heading(const char* text, QWidget* parent) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

void SelectLetter(QButtonGroup* group, const char* letters, char letter) {
    // None is selected for a letter that is not among the choices.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
    if (letter == '\0') return;
    if (const char* at = std::strchr(letters, letter)) group->button(static_cast<int>(at - letters))->setChecked(true);
}

void TakeLetter(const QButtonGroup* group, const char* letters, char& setting) {
    const int id = group->checkedId();
    if (id >= 0 && id < static_cast<int>(std::strlen(letters))) setting = letters[id];
}

}  // namespace

OptionsDialog::OptionsDialog(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
    showhelp = [](int context) { ShowHelpTopic(context); };
    setWindowTitle(QStringLiteral("Options (General)"));
    resize(430, 323);

    pages = new QTabWidget(this);
    pages->addTab(BuildGeneralPage(), QStringLiteral("General"));
    pages->addTab(BuildFormatsPage(), QStringLiteral("Formats"));
    pages->addTab(BuildFieldsPage(), QStringLiteral("Fields"));
    pages->addTab(BuildEventsPage(), QStringLiteral("Events"));

    okbtn = new QPushButton(QStringLiteral("OK"), this);
    cancelbtn = new QPushButton(QStringLiteral("Cancel"), this);
    helpbtn = new QPushButton(QStringLiteral("Help"), this);
    okbtn->setDefault(true);
    connect(okbtn, &QPushButton::clicked, this, &OptionsDialog::OKBtnClick);
    connect(cancelbtn, &QPushButton::clicked, this, &OptionsDialog::cancelbtnClick);
    connect(helpbtn, &QPushButton::clicked, this, &OptionsDialog::helpbtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbtn);
    buttons->addWidget(cancelbtn);
    buttons->addWidget(helpbtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);
}

QWidget* OptionsDialog::BuildGeneralPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(Heading("General Options", page));
    cbreopen = new QCheckBox(QStringLiteral("On Startup reopen last used file"), page);
    cbchecksum = new QCheckBox(QStringLiteral("Verify NMEA checksum (if present)"), page);
    cbignorevdr = new QCheckBox(QStringLiteral("Ignore VDR prefix information"), page);
    cbautoshowvalid = new QCheckBox(QStringLiteral("Auto show Valid Fields only"), page);
    cbautowidths = new QCheckBox(QStringLiteral("Auto set Field Widths"), page);
    cbnolimits = new QCheckBox(QStringLiteral("Read files of any size (no line, event or AIS limits)"), page);
    for (QCheckBox* cb : {cbreopen, cbchecksum, cbignorevdr, cbautoshowvalid, cbautowidths, cbnolimits}) v->addWidget(cb);
    // Parsing switches change what the grid shows; the others take effect elsewhere.
    connect(cbchecksum, &QCheckBox::clicked, this, &OptionsDialog::ModifiedClick);
    connect(cbignorevdr, &QCheckBox::clicked, this, &OptionsDialog::ModifiedClick);

    auto* row = new QHBoxLayout;
    lblpagesize = new QLabel(page);
    sbtnpagesize = new StepSpin(page);
    sbtnpagesize->setFixedWidth(70);
    row->addWidget(lblpagesize);
    row->addWidget(sbtnpagesize);
    row->addStretch();
    v->addLayout(row);
    v->addStretch();
    connect(sbtnpagesize, &StepSpin::stepped, this, [this](int direction) {
        mypagesize = StepThreshold(pagesteps, mypagesize, direction);
        ShowPageSize();
    });
    return page;
}

QButtonGroup* OptionsDialog::AddRadioGroup(QGridLayout* grid, int row, int column, const char* caption,
                                           std::initializer_list<const char*> choices) {
    auto* box = new QGroupBox(QString::fromLatin1(caption));
    grid->addWidget(box, row, column);
    auto* v = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    int id = 0;
    for (const char* c : choices) {
        auto* rb = new QRadioButton(QString::fromLatin1(c), box);
        group->addButton(rb, id++);
        v->addWidget(rb);
    }
    connect(group, &QButtonGroup::idClicked, this, &OptionsDialog::ModifiedClick);
    return group;
}

QWidget* OptionsDialog::BuildFormatsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(Heading("Format Settings", page), 0, 0, 1, 2);
    rgcoord = AddRadioGroup(grid, 1, 0, "Coordinate Format", {"Degrees", "Degs Mins", "Degs Mins Secs", "NMEA format"});
    rgdatetime = AddRadioGroup(grid, 1, 1, "Date/Time", {"Day/Month/Year", "Month/Day/Year", "Year/Month/Day", "Numeric"});
    rgHorzUnits = AddRadioGroup(grid, 2, 0, "Horizontal Units",
                                {"Metres, Metres/Sec", "Kilometres,Km/hr", "Nautical Miles/Knots"});
    rgVertUnits = AddRadioGroup(grid, 2, 1, "Vertical Units", {"Metres", "Feet", "Fathoms"});
    cbRotations = new QCheckBox(QStringLiteral("Include rotations in headings"), page);
    connect(cbRotations, &QCheckBox::clicked, this, &OptionsDialog::ModifiedClick);
    grid->addWidget(cbRotations, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* OptionsDialog::BuildFieldsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Check Visible Fields.   Select Field and Move up/Down"), page), 0, 0, 1, 3);

    cbfields = new QListWidget(page);
    cbfields->setFlow(QListView::TopToBottom);
    cbfields->setWrapping(true);  // two columns
    cbfields->setResizeMode(QListView::Adjust);
    cbfields->setSelectionMode(QAbstractItemView::SingleSelection);
    cbfields->setGridSize(QSize(118, 20));
    cbfields->setMinimumSize(250, 232);  // 22 fields in two columns without a scroll bar
    connect(cbfields, &QListWidget::itemChanged, this, [this] {
        if (!filling_) modified = true;
    });
    grid->addWidget(cbfields, 1, 0, 4, 1);

    fieldup = new QToolButton(page);
    fieldup->setArrowType(Qt::UpArrow);
    fieldup->setToolTip(QStringLiteral("Move up"));
    fielddown = new QToolButton(page);
    fielddown->setArrowType(Qt::DownArrow);
    fielddown->setToolTip(QStringLiteral("Move down"));
    auto* updown = new QVBoxLayout;
    updown->setSpacing(0);
    updown->addWidget(fieldup);
    updown->addWidget(fielddown);
    updown->addStretch();
    grid->addLayout(updown, 1, 1, 4, 1);
    connect(fieldup, &QToolButton::clicked, this, &OptionsDialog::SpinButton1UpClick);
    connect(fielddown, &QToolButton::clicked, this, &OptionsDialog::SpinButton1DownClick);

    checkallbtn = new QPushButton(QStringLiteral("Check All"), page);
    checkonlybtn = new QPushButton(QStringLiteral("Check Only"), page);
    uncheckallbtn = new QPushButton(QStringLiteral("Uncheck All"), page);
    const std::array<std::pair<QPushButton*, const char*>, 3> rows{{
        {checkallbtn, "fields"},
        {checkonlybtn, "fields containing valid data"},
        {uncheckallbtn, "except Date, Time, Latitude and Longitude"},
    }};
    for (int r = 0; r < 3; ++r) {
        auto* label = new QLabel(QString::fromLatin1(rows[static_cast<std::size_t>(r)].second), page);
        label->setWordWrap(true);
        label->setMaximumWidth(150);
        auto* col = new QVBoxLayout;
        col->addWidget(rows[static_cast<std::size_t>(r)].first);
        col->addWidget(label);
        grid->addLayout(col, 1 + r, 2);
    }
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(4, 1);
    connect(checkallbtn, &QPushButton::clicked, this, &OptionsDialog::checkallbtnClick);
    connect(checkonlybtn, &QPushButton::clicked, this, &OptionsDialog::checkonlybtnClick);
    connect(uncheckallbtn, &QPushButton::clicked, this, &OptionsDialog::uncheckallbtnClick);
    return page;
}

QWidget* OptionsDialog::BuildEventsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(Heading("Create a new event when :", page), 0, 0, 1, 3);
    sbtntime = new StepSpin(page);
    sbtndistthresh = new StepSpin(page);
    sbtnalarmthresh = new StepSpin(page);
    struct Row {
        const char* left;
        StepSpin* spin;
        const char* right;
        std::int32_t* value;
        std::span<const std::int32_t> steps;
    };
    const std::array<Row, 3> rows{{
        {"Time elapsed since last event is", sbtntime, "seconds or more", &mytimethresh, timesteps},
        {"Distance from last event is ", sbtndistthresh, "metres or more", &mydistthresh, diststeps},
        {"Alarm stage is at level  ", sbtnalarmthresh, "or greater", &myalarmthresh, alarmsteps},
    }};
    int r = 1;
    for (const Row& row : rows) {
        row.spin->setFixedWidth(100);
        grid->addWidget(new QLabel(QString::fromLatin1(row.left), page), r, 0);
        grid->addWidget(row.spin, r, 1);
        grid->addWidget(new QLabel(QString::fromLatin1(row.right), page), r, 2);
        connect(row.spin, &StepSpin::stepped, this, [this, row](int direction) {
            *row.value = StepThreshold(row.steps, *row.value, direction);
            ShowThresholds();
            eventsmodified = true;
        });
        ++r;
    }
    // The encounter limits change only what the Encounters view flags: no reload.
    grid->addWidget(Heading("Flag an encounter when the vessel :", page), r++, 0, 1, 3);
    sbtncpalimit = new StepSpin(page);
    sbtntcpawindow = new StepSpin(page);
    const std::array<Row, 2> limits{{
        {"Comes or is predicted closer than", sbtncpalimit, "nautical miles", &mycpalimit, cpasteps},
        {"Predicted closest point within", sbtntcpawindow, "minutes", &mytcpawindow, tcpasteps},
    }};
    for (const Row& row : limits) {
        row.spin->setFixedWidth(100);
        grid->addWidget(new QLabel(QString::fromLatin1(row.left), page), r, 0);
        grid->addWidget(row.spin, r, 1);
        grid->addWidget(new QLabel(QString::fromLatin1(row.right), page), r, 2);
        connect(row.spin, &StepSpin::stepped, this, [this, row](int direction) {
            *row.value = StepThreshold(row.steps, *row.value, direction);
            ShowEncounterLimits();
            modified = true;
        });
        ++r;
    }
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(3, 1);
    return page;
}

void OptionsDialog::ShowEncounterLimits() {
    sbtncpalimit->SetText(QString::number(mycpalimit / 1852.0, 'g', 3));
    sbtntcpawindow->SetText(QString::number(mytcpawindow / 60.0, 'g', 4));
}

int OptionsDialog::ShowPage(int page) {
    FormShow();
    pages->setCurrentIndex(page);
    return exec();
}

void OptionsDialog::FormShow() {
    modified = false;
    eventsmodified = false;
    const TSettings& st = s_.settings;
    cbreopen->setChecked(st.reopenlast);
    cbchecksum->setChecked(st.verifychecksum);
    cbignorevdr->setChecked(st.ignorevdr);
    cbautoshowvalid->setChecked(st.autoshowvalid);
    cbautowidths->setChecked(st.autowidths);
    cbnolimits->setChecked(st.nolimits);
    cbRotations->setChecked(st.rotations);
    SelectLetter(rgcoord, coordletters, st.coordformat);
    SelectLetter(rgdatetime, dateletters, st.dateformat);
    SelectLetter(rgHorzUnits, hunitletters, st.parms.hunits);
    SelectLetter(rgVertUnits, vunitletters, st.parms.vunits);
    mytimethresh = st.timethresh;
    mydistthresh = st.distthresh;
    myalarmthresh = st.alarmthresh;
    mypagesize = st.pagesize;
    mycpalimit = static_cast<std::int32_t>(std::lround(std::clamp(st.cpalimit, 0.0, 2e9)));
    mytcpawindow = st.tcpawindow;
    ShowThresholds();
    ShowEncounterLimits();
    mypagesize = StepThreshold(pagesteps, mypagesize, 0);
    ShowPageSize();
    FillFieldList();
}

void OptionsDialog::ShowThresholds() {
    sbtntime->SetText(ThresholdText(mytimethresh));
    sbtndistthresh->SetText(ThresholdText(mydistthresh));
    sbtnalarmthresh->SetText(ThresholdText(myalarmthresh));
}

void OptionsDialog::ShowPageSize() {
    lblpagesize->setText(QStringLiteral("Source view page size = %1 lines").arg(mypagesize));
    sbtnpagesize->SetText(QString::number(mypagesize));
}

void OptionsDialog::FillFieldList() {
    filling_ = true;
    cbfields->clear();
    auto& cat = s_.fields;
    for (int p = 1; p < kEventFieldCount; ++p) {
        const int f = cat.fieldorder[static_cast<std::size_t>(p)];
        if (f < 0 || f >= kEventFieldCount) continue;
        TFieldState& fs = cat.fields[static_cast<std::size_t>(f)];
        if (fs.kind > 1) continue;  // not offered
        auto* item = new QListWidgetItem(QString::fromStdString(fs.head), cbfields);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setData(fieldRole, f);
        item->setData(positionRole, p);
        item->setCheckState(fs.kind == 1 ? Qt::Checked : Qt::Unchecked);
        fs.vis = fs.kind == 1;
    }
    filling_ = false;
}

void OptionsDialog::SetAllChecks(const std::function<bool(int field)>& ticked) {
    for (int i = 0; i < cbfields->count(); ++i) {
        QListWidgetItem* item = cbfields->item(i);
        item->setCheckState(ticked(item->data(fieldRole).toInt()) ? Qt::Checked : Qt::Unchecked);
    }
    modified = true;
}

void OptionsDialog::checkallbtnClick() {
    SetAllChecks([](int) { return true; });
}

void OptionsDialog::checkonlybtnClick() {
    SetAllChecks([this](int f) { return s_.fields.fields[static_cast<std::size_t>(f)].dataval; });
}

void OptionsDialog::uncheckallbtnClick() {
    SetAllChecks([](int f) { return f == fDate || f == fTime || f == fLatitude || f == fLongitude; });
}

void OptionsDialog::SpinButton1UpClick() { MoveField(-1); }
void OptionsDialog::SpinButton1DownClick() { MoveField(+1); }

// Swaps the selected field with the neighbouring listed one in fieldorder at once. Fields not
// offered in the list are stepped over, and the ticks given since the dialog opened are kept.
void OptionsDialog::MoveField(int direction) {
    const int row = cbfields->currentRow();
    if (row < 0 || !cbfields->currentItem()->isSelected()) return;
    const int other = row + direction;
    if (other < 0 || other >= cbfields->count()) return;
    std::map<int, bool> ticks;
    for (int i = 0; i < cbfields->count(); ++i)
        ticks[cbfields->item(i)->data(fieldRole).toInt()] = cbfields->item(i)->checkState() == Qt::Checked;

    auto& order = s_.fields.fieldorder;
    const auto p = static_cast<std::size_t>(cbfields->item(row)->data(positionRole).toInt());
    const auto q = static_cast<std::size_t>(cbfields->item(other)->data(positionRole).toInt());
    std::swap(order[p], order[q]);
    FillFieldList();

    filling_ = true;
    for (int i = 0; i < cbfields->count(); ++i) {
        QListWidgetItem* item = cbfields->item(i);
        item->setCheckState(ticks[item->data(fieldRole).toInt()] ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
    cbfields->setCurrentRow(other);
    modified = true;
}

void OptionsDialog::OKBtnClick() {
    TSettings& st = s_.settings;
    st.reopenlast = cbreopen->isChecked();
    st.verifychecksum = cbchecksum->isChecked();
    st.ignorevdr = cbignorevdr->isChecked();
    st.autoshowvalid = cbautoshowvalid->isChecked();
    st.autowidths = cbautowidths->isChecked();
    st.nolimits = cbnolimits->isChecked();
    st.rotations = cbRotations->isChecked();
    TakeLetter(rgcoord, coordletters, st.coordformat);
    TakeLetter(rgdatetime, dateletters, st.dateformat);
    TakeLetter(rgHorzUnits, hunitletters, st.parms.hunits);
    TakeLetter(rgVertUnits, vunitletters, st.parms.vunits);
    for (int i = 0; i < cbfields->count(); ++i) {
        const QListWidgetItem* item = cbfields->item(i);
        TFieldState& fs = s_.fields.fields[static_cast<std::size_t>(item->data(fieldRole).toInt())];
        const bool ticked = item->checkState() == Qt::Checked;
        fs.kind = ticked ? 1 : 0;
        fs.vis = ticked;
    }
    st.timethresh = mytimethresh;
    st.distthresh = mydistthresh;
    st.alarmthresh = myalarmthresh;
    st.pagesize = mypagesize;
    // Kept as read unless stepped: a value between the steps is not rounded to one.
    if (mycpalimit != static_cast<std::int32_t>(std::lround(std::clamp(st.cpalimit, 0.0, 2e9))))
        st.cpalimit = mycpalimit;
    st.tcpawindow = mytcpawindow;
    accept();
}

void OptionsDialog::cancelbtnClick() {
    modified = false;
    eventsmodified = false;
    reject();
}

int OptionsDialog::HelpContext(int page) {
    switch (page) {
        case General: return help::OptionsGeneral;
        case Formats: return help::OptionsFormats;
        case Fields: return help::OptionsFields;
        case Events: return help::OptionsEvents;
        default: return help::Options;
    }
}

void OptionsDialog::helpbtnClick() {
    if (showhelp) showhelp(HelpContext(pages->currentIndex()));
}

}  // namespace brenvik::ui
