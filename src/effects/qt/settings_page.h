#pragma once
// The common ground of the settings sheet's pages: a page is built and filled from its
// record the first time it is shown, and writes back into the record only when the sheet
// is confirmed. Controls are placed in dialog units and found again by their ids.
#include <QWidget>
#include <unordered_map>

#include "app/widgets/dialog_units.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UpDown;

class SettingsPage : public QWidget {
    Q_OBJECT

  public:
    // `widthUnits` x `heightUnits`: the page's size in dialog units.
    SettingsPage(const QString& title, int widthUnits, int heightUnits, QWidget* parent = nullptr);

    const QString& title() const { return title_; }
    bool isBuilt() const { return built_; }

    // Creates the controls and fills them from the record, once.
    void ensureBuilt();
    // Writes the controls back into the record; does nothing for a page never built.
    void applyIfBuilt();

    // The control with this id on this page, or nullptr (also before the page is built).
    QWidget* control(int id) const;

    QSize sizeHint() const override { return minimumSize(); }

  protected:
    virtual void build() = 0;
    virtual void apply() = 0;

    const DialogUnits& units() const { return units_; }

    // Static text that gives its mnemonic to the next control added.
    QLabel* addLabel(const QString& text, int x, int y, int w, int h, QWidget* parent = nullptr);
    QCheckBox* addCheckBox(int id, const QString& text, int x, int y, int w, int h);
    QRadioButton* addRadioButton(int id, const QString& text, QWidget* group, int x, int y, int w,
                                 int h);
    QLineEdit* addEdit(int id, int x, int y, int w, int h);
    UpDown* addUpDown(int id, QLineEdit* buddy, int widthUnits, int minimum, int maximum);
    QPushButton* addButton(int id, const QString& text, int x, int y, int w, int h);
    // Registers a control under its id and hands it the pending label's mnemonic.
    void addControl(int id, QWidget* widget);

    // The tip text the program keeps for a control id; empty when it has none.
    static QString controlTip(int id);

  private:
    QString title_;
    DialogUnits units_;
    bool built_ = false;
    QLabel* pendingLabel_ = nullptr;
    std::unordered_map<int, QWidget*> controls_;
};
