#pragma once
// The options dialog: parsing switches, formats and units, the shown fields and their order,
// the event thresholds and the source-view page size. Created once, shown modally per page.
#include <array>
#include <cstdint>
#include <functional>

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace brenvik {
class Session;
}

namespace brenvik::ui {

class StepSpin;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    enum Page { General = 0, Formats = 1, Fields = 2, Events = 3 };

    explicit OptionsDialog(Session& s, QWidget* parent = nullptr);

    // FormShow on the given page, then modal; returns the dialog's result.
    int ShowPage(int page);
    void FormShow();

    // Help context of a page index: General 3100 ... Events 3400, any other 3000.
    static int HelpContext(int page);

    // What the latest showing changed: the display, or a threshold (the file must be read again).
    bool modified = false;
    bool eventsmodified = false;

    std::int32_t mytimethresh = 0;
    std::int32_t mydistthresh = 0;
    std::int32_t myalarmthresh = 0;
    std::int32_t mypagesize = 0;
    std::int32_t mycpalimit = 0;   // metres
    std::int32_t mytcpawindow = 0;  // seconds

    // Shows a help context; tests replace it.
    std::function<void(int)> showhelp;

    void OKBtnClick();
    void cancelbtnClick();
    void helpbtnClick();
    void checkallbtnClick();
    void checkonlybtnClick();
    void uncheckallbtnClick();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void FillFieldList();
    void ShowThresholds();

    // The controls, named as the user sees them; public so tests drive them like a user.
    QTabWidget* pages = nullptr;
    QCheckBox* cbreopen = nullptr;
    QCheckBox* cbchecksum = nullptr;
    QCheckBox* cbignorevdr = nullptr;
    QCheckBox* cbautoshowvalid = nullptr;
    QCheckBox* cbautowidths = nullptr;
    QCheckBox* cbnolimits = nullptr;  // takes effect at the next file read
    QLabel* lblpagesize = nullptr;
    StepSpin* sbtnpagesize = nullptr;
    QButtonGroup* rgcoord = nullptr;
    QButtonGroup* rgdatetime = nullptr;
    QButtonGroup* rgHorzUnits = nullptr;
    QButtonGroup* rgVertUnits = nullptr;
    QCheckBox* cbRotations = nullptr;
    QListWidget* cbfields = nullptr;
    QToolButton* fieldup = nullptr;    // the field list's up/down control
    QToolButton* fielddown = nullptr;
    QPushButton* checkallbtn = nullptr;
    QPushButton* checkonlybtn = nullptr;
    QPushButton* uncheckallbtn = nullptr;
    StepSpin* sbtntime = nullptr;
    StepSpin* sbtndistthresh = nullptr;
    StepSpin* sbtnalarmthresh = nullptr;
    StepSpin* sbtncpalimit = nullptr;
    StepSpin* sbtntcpawindow = nullptr;
    QPushButton* okbtn = nullptr;
    QPushButton* cancelbtn = nullptr;
    QPushButton* helpbtn = nullptr;

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildFormatsPage();
    QWidget* BuildFieldsPage();
    QWidget* BuildEventsPage();
    QButtonGroup* AddRadioGroup(QGridLayout* grid, int row, int column, const char* caption,
                                std::initializer_list<const char*> choices);
    void ModifiedClick() { modified = true; }
    void ShowPageSize();
    void ShowEncounterLimits();
    void MoveField(int direction);
    void SetAllChecks(const std::function<bool(int field)>& ticked);

    Session& s_;
    bool filling_ = false;  // the list is being rebuilt: its item changes are not the user's
};

// The letters of the radio groups' choices, in the order of the choices.
constexpr const char* coordletters = "DMSN";
constexpr const char* dateletters = "DMYN";
constexpr const char* hunitletters = "MKN";
constexpr const char* vunitletters = "MFT";

}  // namespace brenvik::ui
