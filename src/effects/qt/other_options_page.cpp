#include "effects/qt/other_options_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "effects/qt/page_controls.h"
#include "effects/qt/path_dialogs.h"

namespace {
QString uiText(const char* source) {
    return QCoreApplication::translate("OtherOptionsPage", source);
}
}  // namespace

PathChoosers PathChoosers::system() {
    return {&chooseFolder, &chooseFilterListFile};
}

void OtherOptionsPage::TextField::show(QLineEdit* target, const std::string& value) {
    edit = target;
    original = value;
    shown = QString::fromStdString(value);
    edit->setText(shown);
}

std::string OtherOptionsPage::TextField::value() const {
    const QString text = edit->text();
    return text == shown ? original : text.toStdString();
}

OtherOptionsPage::OtherOptionsPage(OtherOptions& options, PathChoosers choosers, QWidget* parent)
    : SettingsPage(uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "その他")), 219, 133, parent),
      options_(&options),
      choosers_(std::move(choosers)) {}

void OtherOptionsPage::build() {
    addTypeChoice_ = options_->slistAddType;

    startAndPlay_ = addCheckBox(
        kStartAndPlayCheck,
        uiText(QT_TRANSLATE_NOOP("OtherOptionsPage",
                                 "起動と同時に終了時と同じファイル／フォルダを再生する(&P)")),
        4, 3, 184, 12);
    endAndPlay_ =
        addCheckBox(kEndAndPlayCheck,
                    uiText(QT_TRANSLATE_NOOP("OtherOptionsPage",
                                             "再生終了と同時にアプリケーションも終了する(&D)")),
                    4, 17, 184, 12);
    noTaskTray_ =
        addCheckBox(kNoTaskTrayCheck,
                    uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "タスクトレイを使用しない(&T)")),
                    4, 31, 149, 11);

    // The group box's mnemonic moves the focus into its buttons, which live inside it.
    auto* group =
        new QGroupBox(uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "演奏曲目リスト(&S)：")), this);
    group->setGeometry(units().rect(4, 43, 200, 32));
    auto* renew = addRadioButton(kRenewRadio,
                                 uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "Playのたびに更新")),
                                 group, 9, 55, 52, 17);
    auto* addWhenDifferent = addRadioButton(
        kAddWhenDifferentRadio,
        uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "前回と異なる指定の場合追加する")), group, 64,
        55, 77, 16);
    auto* alwaysAdd = addRadioButton(kAlwaysAddRadio,
                                     uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "常に追加する")),
                                     group, 147, 55, 52, 10);
    wrapButtonText(renew);
    wrapButtonText(addWhenDifferent);
    addType_ = new QButtonGroup(this);
    addType_->addButton(renew, 0);
    addType_->addButton(addWhenDifferent, 1);
    addType_->addButton(alwaysAdd, 2);
    // A stored value outside 0 to 2 leaves every button unchecked.
    if (QAbstractButton* chosen = addType_->button(addTypeChoice_))
        chosen->setChecked(true);

    addLabel(uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "サーチ拡張子(&E)：")), 3, 78, 77, 12);
    auto* searchExtent = addEdit(kSearchExtentEdit, 84, 77, 98, 13);
    addLabel(uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "曲目リスト出力フォルダ(&F)：")), 3, 95,
             81, 12);
    auto* listFolder = addEdit(kListFolderEdit, 84, 95, 119, 13);
    auto* browseFolderButton =
        addButton(kBrowseFolderButton, QStringLiteral("..."), 204, 95, 11, 14);
    addLabel(uiText(QT_TRANSLATE_NOOP("OtherOptionsPage", "接続フィルタリスト出力(&L)：")), 3, 111,
             80, 12);
    auto* filterReport = addEdit(kFilterReportEdit, 84, 111, 119, 13);
    auto* browseFilterButton =
        addButton(kBrowseFilterButton, QStringLiteral("..."), 204, 111, 11, 14);

    startAndPlay_->setChecked(options_->isStartAndPlay);
    endAndPlay_->setChecked(options_->isEndAndPlay);
    noTaskTray_->setChecked(options_->isnoTaskTray);
    searchExtent_.show(searchExtent, options_->searchExtent);
    listFolder_.show(listFolder, options_->flist);
    filterReport_.show(filterReport, options_->filter);

    connect(browseFolderButton, &QPushButton::clicked, this, &OtherOptionsPage::browseFolder);
    connect(browseFilterButton, &QPushButton::clicked, this, &OtherOptionsPage::browseFilterList);
}

void OtherOptionsPage::apply() {
    addTypeChoice_ = addType_->checkedId();
    options_->isStartAndPlay = startAndPlay_->isChecked();
    options_->isEndAndPlay = endAndPlay_->isChecked();
    options_->isnoTaskTray = noTaskTray_->isChecked();
    options_->slistAddType = addTypeChoice_;
    options_->searchExtent = searchExtent_.value();
    options_->flist = listFolder_.value();
    options_->filter = filterReport_.value();
}

void OtherOptionsPage::browseFolder() {
    if (!choosers_.folder)
        return;
    const std::optional<QString> chosen = choosers_.folder(this, listFolder_.edit->text());
    // An empty answer names no folder; the stored one is worth more than nothing.
    if (chosen && !chosen->isEmpty())
        listFolder_.edit->setText(*chosen);
}

void OtherOptionsPage::browseFilterList() {
    if (!choosers_.filterList)
        return;
    const std::optional<QString> chosen = choosers_.filterList(this);
    if (chosen && !chosen->isEmpty())
        filterReport_.edit->setText(*chosen);
}
