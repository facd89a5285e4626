#include "effects/qt/play_options_page.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

#include "effects/gst/effect_catalogue.h"
#include "effects/qt/effect_choice.h"
#include "effects/qt/up_down.h"

namespace {
QString uiText(const char* source) {
    return QCoreApplication::translate("PlayOptionsPage", source);
}
}  // namespace

QString PlayOptionsPage::noEffectsCaption() {
    return uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "使用できるEffectフィルタがありません"));
}

EffectAccess EffectAccess::system() {
    return {[] { return ::checkEffectSupport(); },
            [](QWidget* owner, EffectCatalogue& catalogue) { ::chooseEffects(owner, catalogue); }};
}

PlayOptionsPage::PlayOptionsPage(PlayOptions& options, EffectAccess effects, QWidget* parent)
    : SettingsPage(uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "再生オプション")), 187, 149,
                   parent),
      options_(&options),
      effects_(std::move(effects)) {}

void PlayOptionsPage::build() {
    startAndIcon_ = addCheckBox(
        kStartAndIconCheck,
        uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "再生時アイコン化する(&I)")), 7, 3, 149, 11);
    addLabel(uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "demo - 演奏時間(s)\t(&D)：")), 7, 17, 90,
             13);
    playTime_ = addEdit(kPlayTimeEdit, 102, 17, 35, 12);
    addUpDown(kPlayTimeUpDown, playTime_, 9, 0, kMaxSeconds);
    addLabel(uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "曲間待ち時間(s)\t(&W)：")), 7, 35, 90,
             13);
    waitTime_ = addEdit(kWaitTimeEdit, 102, 35, 35, 12);
    addUpDown(kWaitTimeUpDown, waitTime_, 9, 0, kMaxSeconds);
    repeat_ = addCheckBox(kRepeatCheck,
                          uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "同じ曲をリピート再生(&R)")),
                          7, 52, 90, 13);
    addLabel(uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "リピート回数 (&C)：")), 37, 65, 52, 11);
    repeatCnt_ = addEdit(kRepeatCntEdit, 102, 65, 35, 12);
    repeatCntUpDown_ = addUpDown(kRepeatCntUpDown, repeatCnt_, 9, 0, kMaxRepeatCount);
    random_ =
        addCheckBox(kRandomCheck, uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "ランダム選曲(&S)")),
                    7, 83, 90, 13);
    endless_ = addCheckBox(
        kEndlessCheck, uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "Endlessで演奏を続ける(&E)")), 7,
        97, 90, 13);
    addLabel(uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "演奏する曲数 (&N)：")), 38, 110, 56, 11);
    playCnt_ = addEdit(kPlayCntEdit, 102, 109, 35, 12);
    addUpDown(kPlayCntUpDown, playCnt_, 9, 0, kMaxSongCount);
    useEffect_ =
        addCheckBox(kUseEffectCheck,
                    uiText(QT_TRANSLATE_NOOP("PlayOptionsPage", "Effectを使用して再生する(&P)")), 7,
                    132, 99, 9);
    chooseEffects_ = addButton(kChooseEffectsButton, QStringLiteral("..."), 115, 128, 20, 14);

    startAndIcon_->setChecked(options_->isStartAndIcon);
    repeat_->setChecked(options_->isRepeat);
    random_->setChecked(options_->isRandom);
    endless_->setChecked(options_->isEndless);
    useEffect_->setChecked(options_->useEffect);
    playTime_->setText(QString::number(options_->PlayTime));
    waitTime_->setText(QString::number(options_->waitTime));
    repeatCnt_->setText(QString::number(options_->repeatCnt));
    playCnt_->setText(QString::number(options_->playCnt));

    connect(repeat_, &QCheckBox::clicked, this, &PlayOptionsPage::applyRepeatRule);
    connect(endless_, &QCheckBox::clicked, this, &PlayOptionsPage::applyEndlessRule);
    connect(useEffect_, &QCheckBox::clicked, this, &PlayOptionsPage::applyEffectRule);
    connect(chooseEffects_, &QPushButton::clicked, this, &PlayOptionsPage::chooseEffects);

    applyRepeatRule();
    applyEndlessRule();
    applyEffectRule();
    checkEffectSupport();
}

void PlayOptionsPage::apply() {
    options_->isStartAndIcon = startAndIcon_->isChecked();
    options_->isRepeat = repeat_->isChecked();
    options_->isRandom = random_->isChecked();
    options_->isEndless = endless_->isChecked();
    options_->useEffect = useEffect_->isChecked();
    options_->PlayTime = leadingDecimal(playTime_->text());
    options_->waitTime = leadingDecimal(waitTime_->text());
    options_->repeatCnt = leadingDecimal(repeatCnt_->text());
    options_->playCnt = leadingDecimal(playCnt_->text());
}

void PlayOptionsPage::applyRepeatRule() {
    repeatCnt_->setEnabled(repeat_->isChecked());
    repeatCntUpDown_->setEnabled(repeat_->isChecked());
}

void PlayOptionsPage::applyEndlessRule() {
    // Only the edit: its arrows stay usable, as they always have.
    playCnt_->setEnabled(!endless_->isChecked());
}

void PlayOptionsPage::applyEffectRule() {
    chooseEffects_->setEnabled(useEffect_->isChecked());
}

void PlayOptionsPage::checkEffectSupport() {
    if (effects_.checkSupport && effects_.checkSupport() == 0)
        return;
    chooseEffects_->setEnabled(false);
    chooseEffects_->setText(noEffectsCaption());
    useEffect_->setEnabled(false);
    // The caption is far wider than the "..." it replaces: widen the button so it can be
    // read, and the page with it when needed.
    const QRect place = chooseEffects_->geometry();
    const int width = std::max(place.width(), chooseEffects_->sizeHint().width());
    chooseEffects_->setGeometry(place.x(), place.y(), width, place.height());
    const int needed = place.x() + width + units().x(4);
    if (needed > minimumWidth())
        setMinimumWidth(needed);
}

void PlayOptionsPage::chooseEffects() {
    if (options_->effectCatalogue && effects_.choose)
        effects_.choose(this, *options_->effectCatalogue);
}
