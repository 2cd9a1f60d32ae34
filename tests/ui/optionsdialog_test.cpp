#include "dialogs/optionsdialog.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "dialogs/stepspin.h"
#include "session.h"
#include "support/fakeplatform.h"

namespace brenvik::ui {
namespace {

TEST(StepThreshold, StepsWrapAndSnap) {
    struct Case { std::span<const std::int32_t> steps; std::int32_t value; int dir; std::int32_t want; };
    const Case cases[] = {
        {timesteps, 1, -1, kNever},     {timesteps, kNever, -1, 3600}, {timesteps, 60, +1, 300},
        {diststeps, kNever, +1, 1},     {alarmsteps, 5, +1, 0},        {alarmsteps, 5, -1, 3},
        {pagesteps, 150, 0, 200},       {pagesteps, 5000, 0, 20},      {pagesteps, 7, 0, 20},
        {pagesteps, 1000, +1, 20},      {alarmsteps, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " by " << c.dir);
        EXPECT_EQ(StepThreshold(c.steps, c.value, c.dir), c.want);
    }
    EXPECT_EQ(ThresholdText(kNever), QStringLiteral("never"));
}

class OptionsTest : public ::testing::Test {
protected:
    test::FakePlatform p;
    Session s{p};
    OptionsDialog d{s};
    std::vector<int> helps;

    void SetUp() override { d.showhelp = [this](int c) { helps.push_back(c); }; }
    void Open(int page) {
        d.FormShow();
        d.pages->setCurrentIndex(page);
    }
    int Row(const char* head) const {
        const auto found = d.cbfields->findItems(QString::fromLatin1(head), Qt::MatchExactly);
        return found.isEmpty() ? -1 : d.cbfields->row(found.front());
    }
    int Position(int field) const {
        for (int i = 0; i < kEventFieldCount; ++i)
            if (s.fields.fieldorder[static_cast<std::size_t>(i)] == field) return i;
        return -1;
    }
};

TEST_F(OptionsTest, ShowSnapsPageSizeAndShowsNever) {
    s.settings.pagesize = 150;
    s.settings.distthresh = kNever;
    Open(OptionsDialog::General);
    EXPECT_EQ(d.lblpagesize->text(), QStringLiteral("Source view page size = 200 lines"));
    EXPECT_EQ(d.sbtndistthresh->Text(), QStringLiteral("never"));
    EXPECT_EQ(d.sbtntime->Text(), QStringLiteral("1"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Options (General)"));
}

TEST_F(OptionsTest, ThresholdStepMarksEventsAndCancelKeepsOld) {
    Open(OptionsDialog::Events);
    d.sbtntime->stepBy(-1);
    EXPECT_EQ(d.sbtntime->Text(), QStringLiteral("never"));
    EXPECT_TRUE(d.eventsmodified);
    d.cancelbtn->click();
    EXPECT_EQ(s.settings.timethresh, 1);
    EXPECT_FALSE(d.eventsmodified);

    Open(OptionsDialog::Events);
    d.sbtnalarmthresh->stepBy(1);
    d.okbtn->click();
    EXPECT_EQ(s.settings.alarmthresh, 0);
    EXPECT_TRUE(d.eventsmodified);
    EXPECT_FALSE(d.modified);
}

TEST_F(OptionsTest, EncounterLimitsStepAndChangeOnlyTheDisplay) {
    Open(OptionsDialog::Events);
    EXPECT_EQ(d.sbtncpalimit->Text(), QStringLiteral("0.5"));
    EXPECT_EQ(d.sbtntcpawindow->Text(), QStringLiteral("20"));
    d.sbtncpalimit->stepBy(1);
    d.sbtntcpawindow->stepBy(-1);
    EXPECT_EQ(d.sbtncpalimit->Text(), QStringLiteral("1"));
    EXPECT_TRUE(d.modified);
    EXPECT_FALSE(d.eventsmodified);
    d.okbtn->click();
    EXPECT_EQ(s.settings.cpalimit, 1852);
    EXPECT_EQ(s.settings.tcpawindow, 900);

    s.settings.cpalimit = 0.25 * 1852;  // between the steps, from a settings file
    Open(OptionsDialog::Events);
    d.okbtn->click();
    EXPECT_EQ(s.settings.cpalimit, 0.25 * 1852);
}

TEST_F(OptionsTest, PageSizeAndNonDisplaySwitchesMarkNothing) {
    Open(OptionsDialog::General);
    d.sbtnpagesize->stepBy(1);
    d.cbreopen->click();
    d.cbautowidths->click();
    d.cbnolimits->click();
    d.okbtn->click();
    EXPECT_EQ(s.settings.pagesize, 500);
    EXPECT_TRUE(s.settings.reopenlast);
    EXPECT_TRUE(s.settings.autowidths);
    EXPECT_TRUE(s.settings.nolimits);  // used from the next file read
    EXPECT_FALSE(d.modified);
    EXPECT_FALSE(d.eventsmodified);
    EXPECT_EQ(s.settings.timethresh, 1);

    Open(OptionsDialog::General);
    d.cbchecksum->click();
    d.okbtn->click();
    EXPECT_FALSE(s.settings.verifychecksum);
    EXPECT_TRUE(d.modified);
}

TEST_F(OptionsTest, FormatsSetLettersAndUnknownLetterIsKept) {
    s.settings.coordformat = 'X';
    Open(OptionsDialog::Formats);
    EXPECT_EQ(d.rgcoord->checkedId(), -1);
    EXPECT_EQ(d.rgdatetime->checkedId(), 0);
    d.rgHorzUnits->button(2)->click();
    d.rgVertUnits->button(2)->click();
    d.rgdatetime->button(2)->click();
    d.okbtn->click();
    EXPECT_EQ(s.settings.coordformat, 'X');
    EXPECT_EQ(s.settings.parms.hunits, 'N');
    EXPECT_EQ(s.settings.parms.vunits, 'T');
    EXPECT_EQ(s.settings.dateformat, 'Y');
    EXPECT_TRUE(d.modified);
}

TEST_F(OptionsTest, MovingHeadingUpChangesOrderAtOnceAndKeepsTicks) {
    Open(OptionsDialog::Fields);
    d.fieldup->click();  // nothing selected
    d.fielddown->click();
    EXPECT_EQ(Position(fHeading), fHeading);
    EXPECT_FALSE(d.modified);

    d.cbfields->item(Row("Speed"))->setCheckState(Qt::Unchecked);
    d.cbfields->setCurrentRow(Row("Heading"));
    d.fieldup->click();
    EXPECT_EQ(Position(fHeading), 9);
    EXPECT_EQ(Position(fSpeed), 10);
    EXPECT_EQ(d.cbfields->currentRow(), Row("Heading"));
    EXPECT_EQ(d.cbfields->item(Row("Speed"))->checkState(), Qt::Unchecked);
    EXPECT_TRUE(d.modified);
    d.cancelbtn->click();
    EXPECT_EQ(Position(fHeading), 9);  // a move is not undone by Cancel

    // The first listed field cannot move up.
    Open(OptionsDialog::Fields);
    d.cbfields->setCurrentRow(0);
    d.fieldup->click();
    EXPECT_EQ(s.fields.fieldorder[1], fVDRDate);
}

TEST_F(OptionsTest, FieldsNotOfferedAreSteppedOver) {
    s.fields.fields[fSpeed].kind = 2;
    Open(OptionsDialog::Fields);
    EXPECT_EQ(Row("Speed"), -1);
    EXPECT_EQ(d.cbfields->count(), 21);
    d.cbfields->setCurrentRow(Row("Heading"));
    d.fieldup->click();
    EXPECT_EQ(Position(fHeading), fDepth);
    EXPECT_EQ(Position(fSpeed), fSpeed);
}

TEST_F(OptionsTest, FieldButtonsSetTicksAndOkShowsThem) {
    s.fields.fields[fDepth].dataval = true;
    Open(OptionsDialog::Fields);
    d.checkonlybtn->click();
    for (int i = 0; i < d.cbfields->count(); ++i)
        EXPECT_EQ(d.cbfields->item(i)->checkState() == Qt::Checked, d.cbfields->item(i)->text() == "Depth");
    d.checkallbtn->click();
    d.uncheckallbtn->click();
    EXPECT_TRUE(d.modified);
    d.okbtn->click();
    s.fields.RebuildShown(false);
    EXPECT_EQ(s.fields.shownfields, (std::vector<int>{fSource, fDate, fTime, fLatitude, fLongitude}));
    EXPECT_EQ(s.fields.fields[fDepth].kind, 0);
}

TEST_F(OptionsTest, HelpShowsThePagesContext) {
    for (int page = 0; page < 4; ++page) {
        Open(page);
        d.helpbtn->click();
    }
    EXPECT_EQ(helps, (std::vector<int>{3100, 3200, 3300, 3400}));
    EXPECT_EQ(OptionsDialog::HelpContext(7), 3000);
}

}  // namespace
}  // namespace brenvik::ui
