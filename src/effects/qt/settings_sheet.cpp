#include "effects/qt/settings_sheet.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLayout>
#include <QPushButton>
#include <QTabWidget>

#include "app/widgets/dialog_units.h"

SettingsSheet::SettingsSheet(AppSettings& settings, int startPage, QWidget* owner,
                             PathChoosers choosers, EffectAccess effects)
    : QDialog(owner),
      tabs_(new QTabWidget(this)),
      other_(new OtherOptionsPage(settings.other, std::move(choosers))),
      play_(new PlayOptionsPage(settings.play, std::move(effects))) {
    setWindowTitle(QCoreApplication::translate("SettingsSheet", "tavik Vornel - settings"));
    setFont(dialogFont());
    setModal(true);

    tabs_->addTab(other_, other_->title());
    tabs_->addTab(play_, play_->title());
    tabs_->setCurrentIndex(startPage == kPlayOptionsPage ? kPlayOptionsPage : kOtherOptionsPage);
    connect(tabs_, &QTabWidget::currentChanged, this, &SettingsSheet::buildCurrentPage);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QCoreApplication::translate("SettingsSheet", "OK"),
                             QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QCoreApplication::translate("SettingsSheet", "キャンセル"),
                                 QDialogButtonBox::RejectRole);
    // The pages never report changes of their own, so Apply never becomes usable.
    apply_ = buttons->addButton(QCoreApplication::translate("SettingsSheet", "適用(&A)"),
                                QDialogButtonBox::ApplyRole);
    apply_->setEnabled(false);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SettingsSheet::showEvent(QShowEvent* event) {
    buildCurrentPage();
    QDialog::showEvent(event);
}

void SettingsSheet::buildCurrentPage() {
    if (auto* page = qobject_cast<SettingsPage*>(tabs_->currentWidget()))
        page->ensureBuilt();
}

void SettingsSheet::accept() {
    other_->applyIfBuilt();
    play_->applyIfBuilt();
    QDialog::accept();
}

bool runSettingsSheet(AppSettings& settings, int startPage, QWidget* owner) {
    SettingsSheet sheet(settings, startPage, owner);
    return sheet.exec() == QDialog::Accepted;
}
