// The two pages: filling and applying their records, number parsing, the arrows, the
// enabling rules, the effect support check, the song list radio group, the path dialogs,
// tips, mnemonics and layout.
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <climits>

#include "settings_sheet_fixture.h"
#include "support/dialog_layout.h"

namespace {

using Play = PlayOptionsPage;
using Other = OtherOptionsPage;

TEST(LeadingDecimal, ReadsTheNumberAtTheStartLikeTheIniStore) {
    EXPECT_EQ(leadingDecimal("12abc"), 12);
    EXPECT_EQ(leadingDecimal("abc"), 0);
    EXPECT_EQ(leadingDecimal(""), 0);
    EXPECT_EQ(leadingDecimal("-"), 0);
    EXPECT_EQ(leadingDecimal("  \t-5"), -5);
    EXPECT_EQ(leadingDecimal("+7 songs"), 7);
    EXPECT_EQ(leadingDecimal("3 4"), 3);
    EXPECT_EQ(leadingDecimal("- 3"), 0);
    EXPECT_EQ(leadingDecimal("1,000"), 1);
    EXPECT_EQ(leadingDecimal("１２"), 0);  // full-width digits are not decimal digits here
    EXPECT_EQ(leadingDecimal("2147483647"), INT_MAX);
    EXPECT_EQ(leadingDecimal("-2147483648"), INT_MIN);
    EXPECT_EQ(leadingDecimal("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(leadingDecimal("-99999999999999999999999"), INT_MIN);
}

TEST_F(SettingsSheetTest, PlayPageShowsAndAppliesItsRecord) {
    open(1);
    EXPECT_TRUE(playCheck(Play::kStartAndIconCheck)->isChecked());
    EXPECT_TRUE(playCheck(Play::kRepeatCheck)->isChecked());
    EXPECT_TRUE(playCheck(Play::kRandomCheck)->isChecked());
    EXPECT_FALSE(playCheck(Play::kEndlessCheck)->isChecked());
    EXPECT_TRUE(playCheck(Play::kUseEffectCheck)->isChecked());
    EXPECT_EQ(playEdit(Play::kPlayTimeEdit)->text(), "30");
    EXPECT_EQ(playEdit(Play::kWaitTimeEdit)->text(), "2");
    EXPECT_EQ(playEdit(Play::kRepeatCntEdit)->text(), "3");
    EXPECT_EQ(playEdit(Play::kPlayCntEdit)->text(), "12");

    playCheck(Play::kStartAndIconCheck)->click();
    playCheck(Play::kRandomCheck)->click();
    playCheck(Play::kUseEffectCheck)->click();
    playEdit(Play::kPlayTimeEdit)->setText("12abc");   // the number at the start counts
    playEdit(Play::kWaitTimeEdit)->setText("soon");    // no number at all: 0
    playEdit(Play::kRepeatCntEdit)->setText("-4");     // negative, taken as typed
    playEdit(Play::kPlayCntEdit)->setText(" 250000");  // beyond the arrows' range, as typed
    sheet->okButton()->click();
    EXPECT_FALSE(settings.play.isStartAndIcon);
    EXPECT_FALSE(settings.play.isRandom);
    EXPECT_FALSE(settings.play.useEffect);
    EXPECT_EQ(settings.play.PlayTime, 12);
    EXPECT_EQ(settings.play.waitTime, 0);
    EXPECT_EQ(settings.play.repeatCnt, -4);
    EXPECT_EQ(settings.play.playCnt, 250000);
}

TEST_F(SettingsSheetTest, OtherPageShowsAndAppliesItsRecordWhole) {
    settings.other.searchExtent = "";
    open(0);
    EXPECT_TRUE(other<QCheckBox>(Other::kStartAndPlayCheck)->isChecked());
    EXPECT_FALSE(other<QCheckBox>(Other::kEndAndPlayCheck)->isChecked());
    EXPECT_TRUE(other<QCheckBox>(Other::kNoTaskTrayCheck)->isChecked());
    EXPECT_TRUE(other<QRadioButton>(Other::kAddWhenDifferentRadio)->isChecked());
    EXPECT_EQ(other<QLineEdit>(Other::kSearchExtentEdit)->text(), "");
    EXPECT_EQ(other<QLineEdit>(Other::kListFolderEdit)->text(), "/music/lists");
    EXPECT_EQ(other<QLineEdit>(Other::kFilterReportEdit)->text(), "/tmp/report.fil");

    other<QCheckBox>(Other::kStartAndPlayCheck)->click();
    other<QCheckBox>(Other::kEndAndPlayCheck)->click();
    other<QRadioButton>(Other::kRenewRadio)->click();
    // Texts go back whole and unchecked, spaces and odd patterns included.
    other<QLineEdit>(Other::kSearchExtentEdit)->setText(" *.WAV;;*.曲 ");
    other<QLineEdit>(Other::kFilterReportEdit)->setText("");
    sheet->okButton()->click();
    EXPECT_FALSE(settings.other.isStartAndPlay);
    EXPECT_TRUE(settings.other.isEndAndPlay);
    EXPECT_TRUE(settings.other.isnoTaskTray);
    EXPECT_EQ(settings.other.slistAddType, 0);
    EXPECT_EQ(settings.other.searchExtent, " *.WAV;;*.曲 ");
    EXPECT_EQ(settings.other.flist, "/music/lists");
    EXPECT_EQ(settings.other.filter, "");
    EXPECT_EQ(sheet->otherOptionsPage()->addTypeChoice(), 0);
}

TEST_F(SettingsSheetTest, StoredPathBytesSurviveWhenNotEdited) {
    // A folder name that is not valid UTF-8 can't be shown exactly, but must not be lost.
    settings.other.flist = "/music/caf\xe9";
    settings.other.filter = "/tmp/\xff.fil";
    open(0);
    other<QLineEdit>(Other::kFilterReportEdit)->setText("/tmp/new.fil");
    sheet->okButton()->click();
    EXPECT_EQ(settings.other.flist, "/music/caf\xe9");
    EXPECT_EQ(settings.other.filter, "/tmp/new.fil");
}

TEST_F(SettingsSheetTest, SongListRadioGroupFollowsTheStoredValue) {
    for (const int stored : {0, 1, 2}) {
        settings.other.slistAddType = stored;
        open(0);
        EXPECT_EQ(sheet->otherOptionsPage()->addTypeChoice(), stored);
        EXPECT_EQ(other<QRadioButton>(Other::kRenewRadio)->isChecked(), stored == 0);
        EXPECT_EQ(other<QRadioButton>(Other::kAddWhenDifferentRadio)->isChecked(), stored == 1);
        EXPECT_EQ(other<QRadioButton>(Other::kAlwaysAddRadio)->isChecked(), stored == 2);
        sheet->okButton()->click();
        EXPECT_EQ(settings.other.slistAddType, stored);
    }
}

TEST_F(SettingsSheetTest, OutOfRangeAddTypeChecksNoRadioAndStoresMinusOne) {
    for (const int stored : {7, -3}) {
        settings.other.slistAddType = stored;
        open(0);
        EXPECT_FALSE(other<QRadioButton>(Other::kRenewRadio)->isChecked());
        EXPECT_FALSE(other<QRadioButton>(Other::kAddWhenDifferentRadio)->isChecked());
        EXPECT_FALSE(other<QRadioButton>(Other::kAlwaysAddRadio)->isChecked());
        sheet->okButton()->click();
        EXPECT_EQ(settings.other.slistAddType, -1);
        EXPECT_EQ(sheet->otherOptionsPage()->addTypeChoice(), -1);
    }
    // Choosing one then stores it.
    settings.other.slistAddType = 7;
    open(0);
    other<QRadioButton>(Other::kAlwaysAddRadio)->click();
    EXPECT_TRUE(other<QRadioButton>(Other::kAlwaysAddRadio)->isChecked());
    sheet->okButton()->click();
    EXPECT_EQ(settings.other.slistAddType, 2);
}

TEST_F(SettingsSheetTest, RepeatRuleKeepsTheTypedCount) {
    open(1);
    auto* count = playEdit(Play::kRepeatCntEdit);
    auto* arrows = play<UpDown>(Play::kRepeatCntUpDown);
    EXPECT_TRUE(count->isEnabled());
    EXPECT_TRUE(arrows->isEnabled());
    count->setText("7");
    playCheck(Play::kRepeatCheck)->click();
    EXPECT_FALSE(count->isEnabled());
    EXPECT_FALSE(arrows->isEnabled());
    playCheck(Play::kRepeatCheck)->click();
    EXPECT_TRUE(count->isEnabled());
    EXPECT_TRUE(arrows->isEnabled());
    EXPECT_EQ(count->text(), "7");
    sheet->okButton()->click();
    EXPECT_EQ(settings.play.repeatCnt, 7);
    EXPECT_TRUE(settings.play.isRepeat);

    // A disabled count is still applied as shown.
    settings.play.isRepeat = false;
    settings.play.repeatCnt = 5;
    open(1);
    EXPECT_FALSE(playEdit(Play::kRepeatCntEdit)->isEnabled());
    sheet->okButton()->click();
    EXPECT_EQ(settings.play.repeatCnt, 5);
}

TEST_F(SettingsSheetTest, EndlessRuleDisablesTheSongCountAtOnce) {
    open(1);
    auto* count = playEdit(Play::kPlayCntEdit);
    auto* arrows = play<UpDown>(Play::kPlayCntUpDown);
    EXPECT_TRUE(count->isEnabled());
    playCheck(Play::kEndlessCheck)->click();
    EXPECT_FALSE(count->isEnabled());
    EXPECT_TRUE(arrows->isEnabled());  // its arrows stay usable
    playCheck(Play::kEndlessCheck)->click();
    EXPECT_TRUE(count->isEnabled());

    settings.play.isEndless = true;
    open(1);
    EXPECT_FALSE(playEdit(Play::kPlayCntEdit)->isEnabled());
    // The random check box has no rule of its own.
    playCheck(Play::kRandomCheck)->click();
    EXPECT_FALSE(playEdit(Play::kPlayCntEdit)->isEnabled());
}

TEST_F(SettingsSheetTest, EffectSupportDecidesTheEffectControls) {
    auto checkBox = [this] { return playCheck(Play::kUseEffectCheck); };
    auto button = [this] { return play<QPushButton>(Play::kChooseEffectsButton); };

    effectSupport = 0;
    open(1);
    EXPECT_TRUE(checkBox()->isEnabled());
    EXPECT_TRUE(button()->isEnabled());
    EXPECT_EQ(button()->text(), "...");
    checkBox()->click();
    EXPECT_FALSE(button()->isEnabled());
    checkBox()->click();
    EXPECT_TRUE(button()->isEnabled());

    for (const int failure : {1, -1}) {
        effectSupport = failure;
        settings.play.useEffect = true;
        open(1);
        EXPECT_FALSE(checkBox()->isEnabled());
        EXPECT_TRUE(checkBox()->isChecked());
        EXPECT_FALSE(button()->isEnabled());
        EXPECT_EQ(button()->text(), "使用できるEffectフィルタがありません");
        // The caption can be read in full and stays on the page.
        EXPECT_GE(button()->width(), button()->sizeHint().width());
        EXPECT_LE(button()->geometry().right(), sheet->playOptionsPage()->width());
        sheet->okButton()->click();
        EXPECT_TRUE(settings.play.useEffect);  // shown and applied back unchanged
    }
}

TEST_F(SettingsSheetTest, ArrowsStepTheirEditWithinTheirRange) {
    settings.play.repeatCnt = 9;
    settings.play.PlayTime = 999;
    open(1);
    auto* repeat = play<UpDown>(Play::kRepeatCntUpDown);
    EXPECT_EQ(repeat->buddy(), playEdit(Play::kRepeatCntEdit));
    EXPECT_EQ(repeat->minimum(), 0);
    EXPECT_EQ(repeat->maximum(), 10);

    const QPoint upper(repeat->width() / 2, 2);
    const QPoint lower(repeat->width() / 2, repeat->height() - 3);
    QTest::mouseClick(repeat, Qt::LeftButton, {}, upper);
    EXPECT_EQ(playEdit(Play::kRepeatCntEdit)->text(), "10");
    QTest::mouseClick(repeat, Qt::LeftButton, {}, upper);
    EXPECT_EQ(playEdit(Play::kRepeatCntEdit)->text(), "10");  // stops at the top
    QTest::mouseClick(repeat, Qt::LeftButton, {}, lower);
    EXPECT_EQ(playEdit(Play::kRepeatCntEdit)->text(), "9");

    // Typed text outside the range or without a number is brought into it first.
    playEdit(Play::kRepeatCntEdit)->setText("40");
    repeat->stepBy(-1);
    EXPECT_EQ(playEdit(Play::kRepeatCntEdit)->text(), "9");
    playEdit(Play::kRepeatCntEdit)->setText("xyz");
    repeat->stepBy(-1);
    EXPECT_EQ(playEdit(Play::kRepeatCntEdit)->text(), "0");

    // The arrow keys in the edit step it too; numbers are written without separators.
    auto* demo = playEdit(Play::kPlayTimeEdit);
    QTest::keyClick(demo, Qt::Key_Up);
    EXPECT_EQ(demo->text(), "1000");
    QTest::keyClick(demo, Qt::Key_Down);
    QTest::keyClick(demo, Qt::Key_Down);
    EXPECT_EQ(demo->text(), "998");

    EXPECT_EQ(play<UpDown>(Play::kPlayTimeUpDown)->maximum(), Play::kMaxSeconds);
    EXPECT_EQ(play<UpDown>(Play::kWaitTimeUpDown)->maximum(), Play::kMaxSeconds);
    EXPECT_EQ(play<UpDown>(Play::kPlayCntUpDown)->maximum(), Play::kMaxSongCount);

    // A disabled repeat count ignores its arrows and keys.
    playCheck(Play::kRepeatCheck)->click();
    playEdit(Play::kRepeatCntEdit)->setText("4");
    QTest::mouseClick(repeat, Qt::LeftButton, {}, upper);
    EXPECT_EQ(playEdit(Play::kRepeatCntEdit)->text(), "4");

    sheet->okButton()->click();
    EXPECT_EQ(settings.play.PlayTime, 998);
    EXPECT_EQ(settings.play.repeatCnt, 4);
}

TEST_F(SettingsSheetTest, FolderBrowserStartsAtTheTextAndReplacesItOnlyWhenChosen) {
    open(0);
    auto* folder = other<QLineEdit>(Other::kListFolderEdit);
    auto* browse = other<QPushButton>(Other::kBrowseFolderButton);

    folderAnswer = std::nullopt;  // cancelled
    browse->click();
    ASSERT_EQ(folderRequests.size(), 1u);
    EXPECT_EQ(folderRequests[0], "/music/lists");
    EXPECT_EQ(folder->text(), "/music/lists");

    folderAnswer = QString();  // a choice without a path keeps the text as well
    browse->click();
    EXPECT_EQ(folder->text(), "/music/lists");

    folder->setText("/typed/here");
    folderAnswer = QStringLiteral("/home/user/リスト");
    browse->click();
    EXPECT_EQ(folderRequests.back(), "/typed/here");
    EXPECT_EQ(folder->text(), "/home/user/リスト");
    sheet->okButton()->click();
    EXPECT_EQ(settings.other.flist, "/home/user/リスト");
}

TEST_F(SettingsSheetTest, FilterListDialogReplacesTheReportPathWhenConfirmed) {
    open(0);
    auto* report = other<QLineEdit>(Other::kFilterReportEdit);
    auto* browse = other<QPushButton>(Other::kBrowseFilterButton);
    filterListAnswer = std::nullopt;
    browse->click();
    EXPECT_EQ(filterListRequests, 1);
    EXPECT_EQ(report->text(), "/tmp/report.fil");

    filterListAnswer = QStringLiteral("/var/tmp/graphs.fil");
    browse->click();
    EXPECT_EQ(report->text(), "/var/tmp/graphs.fil");
    sheet->cancelButton()->click();
    EXPECT_EQ(settings.other.filter, "/tmp/report.fil");
}

TEST_F(SettingsSheetTest, TipsExistOnlyWhereTheProgramHasTexts) {
    open(1);
    EXPECT_EQ(play(Play::kRandomCheck)->toolTip(),
              "Endlessにチェックしない場合登録されている曲数分演奏終了後終了します。");
    EXPECT_EQ(play(Play::kWaitTimeEdit)->toolTip(),
              "曲間の待機時間を指定します。０の時にはすぐに再生が開始されます。");
    EXPECT_EQ(play(Play::kPlayTimeEdit)->toolTip(),
              "再生時間を指定します。０の時には最後まで再生します。");
    EXPECT_EQ(
        play(Play::kRepeatCntEdit)->toolTip(),
        "同じ曲を繰り返し再生する回数を指定します。０の時には停止するまで繰り返しつづけます。");
    for (const int id :
         {Play::kStartAndIconCheck, Play::kRepeatCheck, Play::kEndlessCheck, Play::kPlayCntEdit,
          Play::kPlayCntUpDown, Play::kUseEffectCheck, Play::kChooseEffectsButton})
        EXPECT_TRUE(play(id)->toolTip().isEmpty()) << id;
    showPage(0);
    EXPECT_EQ(other(Other::kRenewRadio)->toolTip(),
              "再生する曲数を指定します。０の時には全ての曲を再生します。");
    for (const int id : {Other::kStartAndPlayCheck, Other::kEndAndPlayCheck,
                         Other::kAddWhenDifferentRadio, Other::kListFolderEdit})
        EXPECT_TRUE(other(id)->toolTip().isEmpty()) << id;
}

TEST_F(SettingsSheetTest, LabelsLendTheirMnemonicsToTheNextControl) {
    open(1);
    showPage(0);
    struct Expected {
        SettingsPage* page;
        QString text;
        int buddy;
    };
    const Expected labels[] = {
        {sheet->playOptionsPage(), "demo - 演奏時間(s)\t(&D)：", Play::kPlayTimeEdit},
        {sheet->playOptionsPage(), "曲間待ち時間(s)\t(&W)：", Play::kWaitTimeEdit},
        {sheet->playOptionsPage(), "リピート回数 (&C)：", Play::kRepeatCntEdit},
        {sheet->playOptionsPage(), "演奏する曲数 (&N)：", Play::kPlayCntEdit},
        {sheet->otherOptionsPage(), "サーチ拡張子(&E)：", Other::kSearchExtentEdit},
        {sheet->otherOptionsPage(), "曲目リスト出力フォルダ(&F)：", Other::kListFolderEdit},
        {sheet->otherOptionsPage(), "接続フィルタリスト出力(&L)：", Other::kFilterReportEdit},
    };
    for (const Expected& expected : labels) {
        QLabel* found = nullptr;
        for (QLabel* label : expected.page->findChildren<QLabel*>())
            if (label->text() == expected.text)
                found = label;
        ASSERT_NE(found, nullptr) << expected.text.toStdString();
        EXPECT_EQ(found->buddy(), expected.page->control(expected.buddy))
            << expected.text.toStdString();
    }
    auto* group = sheet->otherOptionsPage()->findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), "演奏曲目リスト(&S)：");
    QWidget* renew = other(Other::kRenewRadio);
    ASSERT_NE(renew, nullptr);
    EXPECT_TRUE(group->isAncestorOf(renew));
}

TEST_F(SettingsSheetTest, ControlsSitAtTheirDialogUnitPositions) {
    open(1);
    showPage(0);
    const DialogUnits units;
    auto* play = sheet->playOptionsPage();
    auto* others = sheet->otherOptionsPage();
    testsupport::expectPlaces(
        units, {
                   {"start iconified", play->control(Play::kStartAndIconCheck), 7, 3, 149, 11},
                   {"use effects", play->control(Play::kUseEffectCheck), 7, 132, 99, 9},
                   {"choose effects", play->control(Play::kChooseEffectsButton), 115, 128, 20, 14},
                   {"list folder", others->control(Other::kListFolderEdit), 84, 95, 119, 13},
                   {"browse filter", others->control(Other::kBrowseFilterButton), 204, 111, 11, 14},
                   {"add when different", others->control(Other::kAddWhenDifferentRadio), 64, 55,
                    77, 16, true},
               });
    EXPECT_GE(play->minimumWidth(), units.x(187));
    EXPECT_GE(others->minimumHeight(), units.y(133));

    // Each edit keeps its place and gives up its right end to its arrows.
    for (const auto& [edit, arrows] : {std::pair{Play::kPlayTimeEdit, Play::kPlayTimeUpDown},
                                       {Play::kWaitTimeEdit, Play::kWaitTimeUpDown},
                                       {Play::kRepeatCntEdit, Play::kRepeatCntUpDown},
                                       {Play::kPlayCntEdit, Play::kPlayCntUpDown}}) {
        const QRect e = play->control(edit)->geometry();
        const QRect a = play->control(arrows)->geometry();
        EXPECT_EQ(e.x(), units.x(102)) << edit;
        EXPECT_EQ(a.x(), e.right() + 1) << edit;
        EXPECT_EQ(a.y(), e.y()) << edit;
        EXPECT_EQ(a.height(), e.height()) << edit;
        EXPECT_EQ(e.width() + a.width(), units.x(35)) << edit;
    }
}

// Every text must be readable in full with the dialog font: nothing is cut at the right
// or, for the multi-line buttons, at the bottom.
QSize textSize(const QWidget* widget, const QString& text) {
    return widget->fontMetrics().size(Qt::TextShowMnemonic, text);
}

QRect textRoom(QWidget* widget) {
    if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(check);
        return check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        return radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin) / 2;
        return button->rect().adjusted(margin, 0, -margin, 0);
    }
    return widget->contentsRect();
}

TEST_F(SettingsSheetTest, NoTextIsClipped) {
    open(1);
    showPage(0);
    for (SettingsPage* page : {static_cast<SettingsPage*>(sheet->playOptionsPage()),
                               static_cast<SettingsPage*>(sheet->otherOptionsPage())}) {
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            QString text;
            QSize needed;
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                text = label->text();
                needed = label->sizeHint();  // lays out the tab as drawn
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                text = button->text();
                needed = textSize(button, text);
            } else {
                continue;
            }
            EXPECT_TRUE(widget->isVisibleTo(page)) << text.toStdString();
            const QRect room = textRoom(widget);
            EXPECT_LE(needed.width(), room.width()) << text.toStdString();
            EXPECT_LE(needed.height(), room.height()) << text.toStdString();
            EXPECT_LE(widget->geometry().right(), widget->parentWidget()->width())
                << text.toStdString();
        }
        if (auto* group = page->findChild<QGroupBox*>()) {
            EXPECT_TRUE(group->isVisibleTo(page));
            EXPECT_LE(textSize(group, group->title()).width(), group->width());
        }
    }
    // The multi-line buttons keep their text, broken into lines.
    EXPECT_EQ(qobject_cast<QAbstractButton*>(
                  sheet->otherOptionsPage()->control(Other::kAddWhenDifferentRadio))
                  ->text()
                  .remove(u'\n'),
              "前回と異なる指定の場合追加する");
}

}  // namespace
