#pragma once
// The modal settings sheet: the "その他" page for OtherOptions and the "再生オプション"
// page for PlayOptions. Pages are built when first shown; OK makes every built page write
// its controls into its record, Cancel changes nothing. Nothing is written to the ini file
// here.
#include <QDialog>

#include "app/core/app_settings.h"
#include "effects/qt/other_options_page.h"
#include "effects/qt/play_options_page.h"

class QPushButton;
class QTabWidget;

class SettingsSheet : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kOtherOptionsPage = 0;
    static constexpr int kPlayOptionsPage = 1;

    // Opens on `startPage` (0 other settings, 1 play options; anything else gives 0).
    SettingsSheet(AppSettings& settings, int startPage, QWidget* owner = nullptr,
                  PathChoosers choosers = PathChoosers::system(),
                  EffectAccess effects = EffectAccess::system());

    OtherOptionsPage* otherOptionsPage() const { return other_; }
    PlayOptionsPage* playOptionsPage() const { return play_; }
    QTabWidget* tabs() const { return tabs_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* applyButton() const { return apply_; }

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildCurrentPage();

    QTabWidget* tabs_;
    OtherOptionsPage* other_;
    PlayOptionsPage* play_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
};

// Runs the settings sheet modally over `owner` and returns whether the user confirmed it
// with OK. The caller re-applies whatever depends on the settings (the tray icon).
bool runSettingsSheet(AppSettings& settings, int startPage, QWidget* owner = nullptr);
