#include "effects/qt/page_controls.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextLayout>

namespace {

// The gap kept between the two parts of a tabbed text.
constexpr int kTabGap = 4;

QString beforeTab(const QString& text) {
    return text.section(u'\t', 0, 0);
}
QString afterTab(const QString& text) {
    return text.section(u'\t', 1);
}

int mnemonicWidth(const QFontMetrics& metrics, const QString& text) {
    return metrics.size(Qt::TextShowMnemonic, text).width();
}

}  // namespace

QSize TabbedLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    const QString all = text();
    int width = mnemonicWidth(metrics, beforeTab(all));
    if (all.contains(u'\t'))
        width += kTabGap + mnemonicWidth(metrics, afterTab(all));
    const QMargins margins = contentsMargins();
    return QSize(width + margins.left() + margins.right(),
                 metrics.height() + margins.top() + margins.bottom());
}

void TabbedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const int flags = Qt::TextShowMnemonic | Qt::AlignTop;
    const QString all = text();
    style()->drawItemText(&painter, area, flags | Qt::AlignLeft, palette(), isEnabled(),
                          beforeTab(all), foregroundRole());
    if (all.contains(u'\t'))
        style()->drawItemText(&painter, area, flags | Qt::AlignRight, palette(), isEnabled(),
                              afterTab(all), foregroundRole());
}

void wrapButtonText(QAbstractButton* button) {
    // The room left for the text beside the check mark or radio circle.
    QStyleOptionButton option;
    option.initFrom(button);
    const bool radio = button->inherits("QRadioButton");
    const int indicator = button->style()->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth
                                                             : QStyle::PM_IndicatorWidth,
                                                       &option, button) +
                          button->style()->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing
                                                             : QStyle::PM_CheckBoxLabelSpacing,
                                                       &option, button);
    const int room = button->width() - indicator - 2;
    const QString text = button->text().remove(u'\n');
    if (room <= 0)
        return;

    QTextLayout layout(text, button->font());
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(textOption);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    button->setText(lines.join(u'\n'));
}
