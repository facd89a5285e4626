#include <gtest/gtest.h>

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

#include "app/gst/gst_init.h"
#include "app/widgets/dialog_units.h"
#include "effects/gst/effect_catalogue.h"
#include "effects/gst/fake_registry.h"
#include "effects/qt/effect_choice.h"
#include "effects/qt/effect_select_dialog.h"
#include "effects/qt/property_editor.h"
#include "modal_watch.h"

namespace {

class EffectDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureGstInitialised();
        registry->factories = {audioEffect("audioamplify", "Audio amplifier"),
                               audioEffect("audioecho", "Audio echo"),
                               audioEffect("audioinvert", "Audio inversion"),
                               audioEffect("audiodynamic", "Dynamic range controller")};
    }

    std::vector<int> selectedEntries() const {
        std::vector<int> selected;
        for (int i = 0; i < catalogue.effectCount(); ++i)
            if (catalogue.isSelected(i))
                selected.push_back(i);
        return selected;
    }

    std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
    EffectCatalogue catalogue{viewOf(registry)};
};

void selectRows(QListWidget* list, std::initializer_list<int> rows) {
    for (int row : rows) {
        list->setCurrentRow(row, QItemSelectionModel::Select);
    }
}

TEST_F(EffectDialogTest, ShowsTheTemplateWithNoRowSelected) {
    catalogue.fill();
    catalogue.select(1);
    EffectSelectDialog dialog(catalogue);
    const DialogUnits units(dialogFont());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("再生時の効果の選択"));
    EXPECT_EQ(dialog.size(), QSize(units.x(191), units.y(93)));
    EXPECT_EQ(dialog.useButton()->text(), QStringLiteral("使用する"));
    EXPECT_TRUE(dialog.useButton()->isDefault());
    EXPECT_EQ(dialog.useButton()->geometry(), units.rect(131, 7, 55, 14));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(dialog.cancelButton()->geometry(), units.rect(131, 24, 55, 14));
    EXPECT_EQ(dialog.effectList()->geometry(), units.rect(7, 7, 122, 79));
    EXPECT_EQ(dialog.effectList()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(dialog.propertiesButton()->text(), QStringLiteral("プロパティの表示"));
    EXPECT_EQ(dialog.propertiesButton()->geometry(), units.rect(131, 43, 55, 14));
    EXPECT_EQ(dialog.informationButton()->text(), QStringLiteral("情報の表示"));
    EXPECT_EQ(dialog.informationButton()->geometry(), units.rect(131, 63, 55, 14));
    EXPECT_FALSE(dialog.informationButton()->isEnabled());

    ASSERT_EQ(dialog.effectList()->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dialog.effectList()->item(i)->text().toStdString(), catalogue.effectName(i));
    EXPECT_TRUE(dialog.effectList()->selectedItems().isEmpty());
}

TEST_F(EffectDialogTest, OkNeedsASelectionAndReturnsAscendingRows) {
    catalogue.fill();
    EffectSelectDialog dialog(catalogue);
    dialog.show();
    dialog.useButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.chosenCount(), 0);

    selectRows(dialog.effectList(), {3, 1});
    dialog.useButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenIndices(), (std::vector<int>{1, 3}));
}

TEST_F(EffectDialogTest, ChoiceReplacesTheSelectionAndReopensBlank) {
    catalogue.fill();
    catalogue.select(1);
    catalogue.select(3);
    auto watch = onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<EffectSelectDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        selectRows(dialog->effectList(), {2, 0});
        dialog->useButton()->click();
    });
    chooseEffects(nullptr, catalogue);
    EXPECT_EQ(selectedEntries(), (std::vector<int>{0, 2}));

    bool blank = false;
    watch = onNextModal([&blank](QWidget* modal) {
        auto* dialog = qobject_cast<EffectSelectDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        blank =
            dialog->effectList()->selectedItems().isEmpty() && dialog->effectList()->count() == 4;
        dialog->cancelButton()->click();
    });
    chooseEffects(nullptr, catalogue);
    EXPECT_TRUE(blank);
    EXPECT_EQ(selectedEntries(), (std::vector<int>{0, 2})) << "cancel keeps the choice";
    EXPECT_EQ(registry->calls, 1) << "a filled catalogue is not listed again";
}

TEST_F(EffectDialogTest, EmptyCatalogueOpensEmptyAndIsListedAgainNextTime) {
    registry->factories.clear();
    bool checked = false;
    auto watch = onNextModal([&checked](QWidget* modal) {
        auto* dialog = qobject_cast<EffectSelectDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->effectList()->count(), 0);
        dialog->useButton()->click();
        EXPECT_TRUE(dialog->isVisible()) << "OK with nothing selected keeps the dialog open";
        // Show properties on an empty list opens nothing (a modal would block here).
        dialog->propertiesButton()->click();
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);
        checked = true;
        dialog->reject();
    });
    chooseEffects(nullptr, catalogue);
    EXPECT_TRUE(checked);
    EXPECT_EQ(catalogue.effectCount(), 0);

    registry->factories = {audioEffect("audioamplify", "Audio amplifier")};
    int rows = -1;
    watch = onNextModal([&rows](QWidget* modal) {
        auto* dialog = qobject_cast<EffectSelectDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        rows = dialog->effectList()->count();
        dialog->reject();
    });
    chooseEffects(nullptr, catalogue);
    EXPECT_EQ(registry->calls, 2);
    EXPECT_EQ(rows, 1);
}

TEST_F(EffectDialogTest, ListingFailureIsReportedAndNoDialogOpens) {
    registry->result = kResultFail;
    QString shown;
    bool wasMessageBox = false;
    auto watch = onNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        wasMessageBox = box != nullptr;
        if (box)
            shown = box->text();
        modal->close();
    });
    chooseEffects(nullptr, catalogue);
    EXPECT_TRUE(wasMessageBox);
    EXPECT_EQ(shown, QStringLiteral("DMO Audio効果フィルタの取得に失敗しました。(0x80004005)"));
    EXPECT_EQ(catalogue.effectCount(), 0);
}

TEST_F(EffectDialogTest, ShowPropertiesOpensTheFocusedRowsEditorOverTheDialog) {
    catalogue.fill();
    QString title;
    QWidget* owner = nullptr;
    auto watch = onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<EffectSelectDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->effectList()->setCurrentRow(2, QItemSelectionModel::NoUpdate);  // audioecho
        auto inner = onNextModal(
            [&](QWidget* editor) {
                title = editor->windowTitle();
                owner = editor->parentWidget();
                EXPECT_NE(editor->findChild<QWidget*>(QStringLiteral("intensity")), nullptr)
                    << "audioecho's editor";
                editor->close();
            },
            dialog);
        dialog->propertiesButton()->click();
        EXPECT_EQ(owner, dialog);
        dialog->reject();
    });
    chooseEffects(nullptr, catalogue);
    EXPECT_EQ(title, QStringLiteral("Property"));
    EXPECT_TRUE(selectedEntries().empty());
    GstElement* echo = nullptr;
    ASSERT_EQ(catalogue.wrapperFor(2, &echo), kResultOk);
    EXPECT_STREQ(GST_OBJECT_NAME(gst_element_get_factory(echo)), "audioecho");
}

}  // namespace
