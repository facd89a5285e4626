#include "effects/qt/effect_choice.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include "effects/gst/effect_catalogue.h"
#include "effects/qt/effect_select_dialog.h"

void chooseEffects(QWidget* owner, EffectCatalogue& catalogue) {
    // Filled on first use; a listing that found nothing or failed is tried again next time.
    if (catalogue.effectCount() <= 0) {
        const int result = catalogue.fill();
        if (result < 0) {
            const QString text =
                QCoreApplication::translate("EffectChoice",
                                            "DMO Audio効果フィルタの取得に失敗しました。(%1)")
                    .arg(QStringLiteral("0x") + QString::number(static_cast<unsigned>(result), 16));
            QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                            QMessageBox::Ok, owner);
            box.exec();
            return;
        }
    }
    EffectSelectDialog dialog(catalogue, owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The new choice replaces the old one completely.
    catalogue.deselect(-1);
    for (const int index : dialog.chosenIndices())
        catalogue.select(index);
}
