// The sheet as a whole: which page opens, which pages are built and applied, OK against
// Cancel, and the entry point the application calls.
#include <QDialogButtonBox>
#include <QTest>
#include <QTimer>

#include "effects/gst/effect_catalogue.h"
#include "effects/qt/effect_select_dialog.h"
#include "settings_sheet_fixture.h"

#include <QListWidget>

namespace {

const auto* const appTeardown = ::testing::AddGlobalTestEnvironment(new TestAppTeardown);

using Play = PlayOptionsPage;
using Other = OtherOptionsPage;

TEST_F(SettingsSheetTest, SheetHasItsCaptionPagesAndButtons) {
    open(0);
    EXPECT_EQ(sheet->windowTitle(), "tavik Vornel - settings");
    EXPECT_TRUE(sheet->isModal());
    ASSERT_EQ(sheet->tabs()->count(), 2);
    EXPECT_EQ(sheet->tabs()->tabText(0), "その他");
    EXPECT_EQ(sheet->tabs()->tabText(1), "再生オプション");
    EXPECT_EQ(sheet->tabs()->widget(0), sheet->otherOptionsPage());
    EXPECT_EQ(sheet->tabs()->widget(1), sheet->playOptionsPage());
    EXPECT_TRUE(sheet->okButton()->isEnabled());
    EXPECT_TRUE(sheet->cancelButton()->isEnabled());
    ASSERT_NE(sheet->applyButton(), nullptr);
    EXPECT_FALSE(sheet->applyButton()->isEnabled());

    // Edits on either page never make Apply usable.
    other<QCheckBox>(Other::kEndAndPlayCheck)->click();
    showPage(1);
    playEdit(Play::kPlayTimeEdit)->setText("99");
    playCheck(Play::kRandomCheck)->click();
    EXPECT_FALSE(sheet->applyButton()->isEnabled());
}

TEST_F(SettingsSheetTest, OpensOnTheCallersPageAndBuildsOnlyThat) {
    open(1);  // the player window's Settings command
    EXPECT_EQ(sheet->tabs()->currentIndex(), 1);
    EXPECT_TRUE(sheet->playOptionsPage()->isBuilt());
    EXPECT_FALSE(sheet->otherOptionsPage()->isBuilt());
    EXPECT_EQ(other(Other::kStartAndPlayCheck), nullptr);
    showPage(0);
    EXPECT_TRUE(sheet->otherOptionsPage()->isBuilt());

    open(0);  // the main bar's Settings command
    EXPECT_EQ(sheet->tabs()->currentIndex(), 0);
    EXPECT_TRUE(sheet->otherOptionsPage()->isBuilt());
    EXPECT_FALSE(sheet->playOptionsPage()->isBuilt());

    open(5);  // no such page: the first one
    EXPECT_EQ(sheet->tabs()->currentIndex(), 0);
}

TEST_F(SettingsSheetTest, PageNotVisitedStaysUntouchedOnOk) {
    // Values a built page would rewrite: an out-of-range add type and a bool the page's
    // check box would normalise are both left exactly as they were.
    settings.other.slistAddType = 7;
    const AppSettings before = settings;
    open(1);
    playEdit(Play::kWaitTimeEdit)->setText("8");
    sheet->okButton()->click();
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    expectSame(settings.other, before.other);
    EXPECT_EQ(settings.play.waitTime, 8);

    settings = before;
    open(0);
    other<QLineEdit>(Other::kSearchExtentEdit)->setText("*.flac");
    sheet->okButton()->click();
    expectSame(settings.play, before.play);
    EXPECT_EQ(settings.other.searchExtent, "*.flac");
}

TEST_F(SettingsSheetTest, OkAppliesBothVisitedPagesFromEitherPage) {
    for (const int confirmOn : {0, 1}) {
        settings = sampleSettings();
        open(0);
        other<QCheckBox>(Other::kEndAndPlayCheck)->click();
        other<QRadioButton>(Other::kAlwaysAddRadio)->click();
        showPage(1);
        playEdit(Play::kPlayTimeEdit)->setText("45");
        playCheck(Play::kEndlessCheck)->click();
        showPage(confirmOn);
        sheet->okButton()->click();

        EXPECT_TRUE(settings.other.isEndAndPlay) << "confirmed on page " << confirmOn;
        EXPECT_EQ(settings.other.slistAddType, 2);
        EXPECT_EQ(settings.play.PlayTime, 45);
        EXPECT_TRUE(settings.play.isEndless);
        // Controls left alone give back what they showed.
        EXPECT_EQ(settings.play.repeatCnt, 3);
        EXPECT_EQ(settings.other.flist, "/music/lists");
    }
}

TEST_F(SettingsSheetTest, CancelAndCloseBoxChangeNothing) {
    const AppSettings before = settings;
    for (const bool useCloseBox : {false, true}) {
        open(1);
        playEdit(Play::kPlayTimeEdit)->setText("999");
        playCheck(Play::kStartAndIconCheck)->click();
        showPage(0);
        other<QCheckBox>(Other::kNoTaskTrayCheck)->click();
        other<QLineEdit>(Other::kListFolderEdit)->setText("/elsewhere");
        if (useCloseBox)
            sheet->close();
        else
            sheet->cancelButton()->click();
        EXPECT_EQ(sheet->result(), QDialog::Rejected);
        expectSame(settings.play, before.play);
        expectSame(settings.other, before.other);
    }
}

TEST_F(SettingsSheetTest, EffectChoiceActsAtOnceWhateverTheSheetsOutcome) {
    EffectCatalogue catalogue;
    settings.play.effectCatalogue = &catalogue;
    settings.play.useEffect = false;
    open(1);
    // The choice needs the check box on.
    auto* choose = play<QPushButton>(Play::kChooseEffectsButton);
    EXPECT_FALSE(choose->isEnabled());
    playCheck(Play::kUseEffectCheck)->click();
    ASSERT_TRUE(choose->isEnabled());
    choose->click();
    ASSERT_EQ(effectChoices.size(), 1u);
    EXPECT_EQ(effectChoices[0].catalogue, &catalogue);
    EXPECT_EQ(effectChoices[0].owner, sheet->playOptionsPage());

    // Cancelling the sheet takes back the check box, not the choice.
    sheet->cancelButton()->click();
    EXPECT_FALSE(settings.play.useEffect);
    EXPECT_EQ(effectChoices.size(), 1u);
}

TEST_F(SettingsSheetTest, NoCatalogueMeansNoChoice) {
    settings.play.effectCatalogue = nullptr;
    open(1);
    play<QPushButton>(Play::kChooseEffectsButton)->click();
    EXPECT_TRUE(effectChoices.empty());
}

// The program's own pieces end to end: the entry point with the real effect choice on a
// real catalogue, confirmed in the selection dialog and then cancelled in the sheet.
TEST_F(SettingsSheetTest, EntryPointReportsOkAndTheRealChoiceOutlivesCancel) {
    EffectCatalogue catalogue;
    settings.play.effectCatalogue = &catalogue;
    settings.play.useEffect = true;
    const AppSettings before = settings;

    bool choiceSeen = false;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<SettingsSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        auto* page = shown->playOptionsPage();
        auto* choose = qobject_cast<QPushButton*>(page->control(Play::kChooseEffectsButton));
        if (!choose->isEnabled()) {  // no effects installed here: nothing to choose
            shown->cancelButton()->click();
            return;
        }
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<EffectSelectDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            choiceSeen = true;
            dialog->effectList()->item(0)->setSelected(true);
            dialog->useButton()->click();
        });
        choose->click();  // returns once the selection dialog has closed
        shown->cancelButton()->click();
    });
    EXPECT_FALSE(runSettingsSheet(settings, 1));
    expectSame(settings.play, before.play);
    if (!choiceSeen)
        GTEST_SKIP() << "no audio effects installed";
    EXPECT_TRUE(catalogue.isSelected(0));
}

TEST_F(SettingsSheetTest, EntryPointReturnsTrueOnOk) {
    QTimer::singleShot(0, [] {
        auto* shown = qobject_cast<SettingsSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->tabs()->currentIndex(), 0);
        qobject_cast<QCheckBox*>(shown->otherOptionsPage()->control(Other::kNoTaskTrayCheck))
            ->click();
        shown->okButton()->click();
    });
    settings.other.isnoTaskTray = false;
    EXPECT_TRUE(runSettingsSheet(settings, 0));
    EXPECT_TRUE(settings.other.isnoTaskTray);
}

}  // namespace
