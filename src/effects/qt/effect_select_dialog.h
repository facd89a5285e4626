#pragma once
// Dialog 135, "再生時の効果の選択": the user picks the audio effects the songs play
// through and may open an effect's property dialog.
#include <QDialog>

#include <vector>

class EffectCatalogue;
class QListWidget;
class QPushButton;

class EffectSelectDialog : public QDialog {
    Q_OBJECT
  public:
    // Control identifiers of the dialog template.
    static constexpr int kUseId = 1;
    static constexpr int kCancelId = 2;
    static constexpr int kPropertiesId = 3;
    static constexpr int kInformationId = 4;
    static constexpr int kEffectListId = 1040;

    explicit EffectSelectDialog(EffectCatalogue& catalogue, QWidget* parent = nullptr);

    // After an OK close: the catalogue indices the user selected, ascending.
    const std::vector<int>& chosenIndices() const { return chosenIndices_; }
    int chosenCount() const { return static_cast<int>(chosenIndices_.size()); }

    QListWidget* effectList() const { return list_; }
    QPushButton* useButton() const { return use_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* propertiesButton() const { return properties_; }
    QPushButton* informationButton() const { return information_; }

  private:
    void confirm();
    void showProperties();

    EffectCatalogue& catalogue_;
    std::vector<int> chosenIndices_;
    QListWidget* list_;
    QPushButton* use_;
    QPushButton* cancel_;
    QPushButton* properties_;
    QPushButton* information_;
};
