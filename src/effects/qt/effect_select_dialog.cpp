#include "effects/qt/effect_select_dialog.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

#include "app/widgets/dialog_units.h"
#include "effects/gst/effect_catalogue.h"
#include "effects/qt/property_editor.h"

EffectSelectDialog::EffectSelectDialog(EffectCatalogue& catalogue, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue) {
    setWindowTitle(QCoreApplication::translate("EffectSelectDialog", "再生時の効果の選択"));
    setFont(dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.x(191), units.y(93));

    // Created in the template's tab order.
    use_ = new QPushButton(QCoreApplication::translate("EffectSelectDialog", "使用する"), this);
    use_->setGeometry(units.rect(131, 7, 55, 14));
    use_->setDefault(true);
    cancel_ =
        new QPushButton(QCoreApplication::translate("EffectSelectDialog", "キャンセル"), this);
    cancel_->setGeometry(units.rect(131, 24, 55, 14));
    list_ = new QListWidget(this);
    list_->setGeometry(units.rect(7, 7, 122, 79));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setSortingEnabled(false);
    properties_ = new QPushButton(
        QCoreApplication::translate("EffectSelectDialog", "プロパティの表示"), this);
    properties_->setGeometry(units.rect(131, 43, 55, 14));
    information_ =
        new QPushButton(QCoreApplication::translate("EffectSelectDialog", "情報の表示"), this);
    information_->setGeometry(units.rect(131, 63, 55, 14));
    information_->setEnabled(false);

    use_->setObjectName(QStringLiteral("use"));
    cancel_->setObjectName(QStringLiteral("cancel"));
    list_->setObjectName(QStringLiteral("effectList"));
    properties_->setObjectName(QStringLiteral("properties"));
    information_->setObjectName(QStringLiteral("information"));

    // Row k is catalogue entry k; no row starts selected, whatever is chosen now.
    for (int i = 0; i < catalogue_.effectCount(); ++i)
        list_->addItem(QString::fromUtf8(catalogue_.effectName(i)));

    connect(use_, &QPushButton::clicked, this, &EffectSelectDialog::confirm);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(properties_, &QPushButton::clicked, this, &EffectSelectDialog::showProperties);
}

// OK closes only with at least one row selected.
void EffectSelectDialog::confirm() {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty())
        return;
    std::sort(rows.begin(), rows.end());
    chosenIndices_ = std::move(rows);
    accept();
}

// The row with the focus frame; a list that never had one reports its first row.
void EffectSelectDialog::showProperties() {
    const int caret = std::max(list_->currentRow(), 0);
    showPropertyPages(catalogue_, std::span<const int>(&caret, 1), this);
}
