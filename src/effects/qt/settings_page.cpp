#include "effects/qt/settings_page.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "effects/qt/page_controls.h"
#include "effects/qt/up_down.h"

SettingsPage::SettingsPage(const QString& title, int widthUnits, int heightUnits, QWidget* parent)
    : QWidget(parent), title_(title), units_(dialogFont()) {
    setFont(dialogFont());
    setMinimumSize(units_.x(widthUnits), units_.y(heightUnits));
}

void SettingsPage::ensureBuilt() {
    if (built_)
        return;
    built_ = true;
    build();
    for (auto& [id, widget] : controls_) {
        const QString tip = controlTip(id);
        if (!tip.isEmpty())
            widget->setToolTip(tip);
    }
    // Children made after the page became visible stay hidden until shown.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->show();
}

void SettingsPage::applyIfBuilt() {
    if (built_)
        apply();
}

QWidget* SettingsPage::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

QLabel* SettingsPage::addLabel(const QString& text, int x, int y, int w, int h, QWidget* parent) {
    QLabel* label = text.contains(u'\t') ? new TabbedLabel(text, parent ? parent : this)
                                         : new QLabel(text, parent ? parent : this);
    label->setGeometry(units_.rect(x, y, w, h));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pendingLabel_ = label;
    return label;
}

void SettingsPage::addControl(int id, QWidget* widget) {
    controls_[id] = widget;
    widget->setObjectName(QString::number(id));
    if (pendingLabel_) {
        pendingLabel_->setBuddy(widget);
        pendingLabel_ = nullptr;
    }
}

QCheckBox* SettingsPage::addCheckBox(int id, const QString& text, int x, int y, int w, int h) {
    auto* box = new QCheckBox(text, this);
    box->setGeometry(units_.rect(x, y, w, h));
    addControl(id, box);
    return box;
}

QRadioButton* SettingsPage::addRadioButton(int id, const QString& text, QWidget* group, int x,
                                           int y, int w, int h) {
    auto* radio = new QRadioButton(text, group);
    // Positions are given on the page; the button lives inside its group box.
    const QPoint origin = group->mapTo(this, QPoint(0, 0));
    radio->setGeometry(units_.rect(x, y, w, h).translated(-origin));
    addControl(id, radio);
    return radio;
}

QLineEdit* SettingsPage::addEdit(int id, int x, int y, int w, int h) {
    auto* edit = new QLineEdit(this);
    edit->setGeometry(units_.rect(x, y, w, h));
    addControl(id, edit);
    return edit;
}

UpDown* SettingsPage::addUpDown(int id, QLineEdit* buddy, int widthUnits, int minimum,
                                int maximum) {
    auto* upDown = new UpDown(buddy, units_.x(widthUnits), this);
    upDown->setRange(minimum, maximum);
    addControl(id, upDown);
    return upDown;
}

QPushButton* SettingsPage::addButton(int id, const QString& text, int x, int y, int w, int h) {
    auto* button = new QPushButton(text, this);
    button->setAutoDefault(false);
    button->setGeometry(units_.rect(x, y, w, h));
    addControl(id, button);
    return button;
}

namespace {
QString tipText(const char* source) {
    return QCoreApplication::translate("SettingsPage", source);
}
}  // namespace

QString SettingsPage::controlTip(int id) {
    // The program's tip strings, kept under the id of the control that shows them.
    switch (id) {
        case 1009:
            return tipText(QT_TRANSLATE_NOOP(
                "SettingsPage",
                "Endlessにチェックしない場合登録されている曲数分演奏終了後終了します。"));
        case 1011:
            return tipText(QT_TRANSLATE_NOOP(
                "SettingsPage",
                "曲間の待機時間を指定します。０の時にはすぐに再生が開始されます。"));
        case 1012:
            return tipText(QT_TRANSLATE_NOOP(
                "SettingsPage", "再生時間を指定します。０の時には最後まで再生します。"));
        case 1027:
            return tipText(QT_TRANSLATE_NOOP(
                "SettingsPage",
                "同じ曲を繰り返し再生する回数を指定します。０の時には停止するまで繰り返しつづけま"
                "す。"));
        case 1030:
            return tipText(QT_TRANSLATE_NOOP(
                "SettingsPage", "再生する曲数を指定します。０の時には全ての曲を再生します。"));
        default:
            return {};
    }
}
