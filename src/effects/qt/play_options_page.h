#pragma once
// The "再生オプション" page of the settings sheet: edits PlayOptions in place when the
// sheet is confirmed. The "..." button opens the effect choice, which changes the effect
// catalogue at once, whatever becomes of the sheet.
#include <functional>

#include "app/core/app_settings.h"
#include "effects/qt/settings_page.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class UpDown;

// How the page reaches the effects: whether any are usable on this machine (0 when they
// are) and the effect choice itself. The defaults are the program's own; tests replace them.
struct EffectAccess {
    std::function<int()> checkSupport;
    std::function<void(QWidget* owner, EffectCatalogue& catalogue)> choose;

    static EffectAccess system();
};

class PlayOptionsPage : public SettingsPage {
    Q_OBJECT

  public:
    static constexpr int kStartAndIconCheck = 1029;
    static constexpr int kPlayTimeEdit = 1012;
    static constexpr int kPlayTimeUpDown = 1025;
    static constexpr int kWaitTimeEdit = 1011;
    static constexpr int kWaitTimeUpDown = 1026;
    static constexpr int kRepeatCheck = 1010;
    static constexpr int kRepeatCntEdit = 1027;
    static constexpr int kRepeatCntUpDown = 1028;
    static constexpr int kRandomCheck = 1009;
    static constexpr int kEndlessCheck = 1018;
    static constexpr int kPlayCntEdit = 1044;
    static constexpr int kPlayCntUpDown = 1031;
    static constexpr int kUseEffectCheck = 1040;
    static constexpr int kChooseEffectsButton = 1041;

    // Ranges of the arrows; typed numbers are taken as typed whatever these say.
    static constexpr int kMaxSeconds = 3600;  // demo time and wait time: up to an hour
    static constexpr int kMaxRepeatCount = 10;
    static constexpr int kMaxSongCount = 9999;

    // Caption of the "..." button when no effect can be used.
    static QString noEffectsCaption();

    explicit PlayOptionsPage(PlayOptions& options, EffectAccess effects = EffectAccess::system(),
                             QWidget* parent = nullptr);

  protected:
    void build() override;
    void apply() override;

  private:
    void applyRepeatRule();
    void applyEndlessRule();
    void applyEffectRule();
    void checkEffectSupport();
    void chooseEffects();

    PlayOptions* options_;
    EffectAccess effects_;

    QCheckBox* startAndIcon_ = nullptr;
    QLineEdit* playTime_ = nullptr;
    QLineEdit* waitTime_ = nullptr;
    QCheckBox* repeat_ = nullptr;
    QLineEdit* repeatCnt_ = nullptr;
    UpDown* repeatCntUpDown_ = nullptr;
    QCheckBox* random_ = nullptr;
    QCheckBox* endless_ = nullptr;
    QLineEdit* playCnt_ = nullptr;
    QCheckBox* useEffect_ = nullptr;
    QPushButton* chooseEffects_ = nullptr;
};
