#include "app/widgets/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>

QFont dialogFont() {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPointSize(9);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the Latin letters, rounded, as the dialog manager measures it.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    charWidth_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    charHeight_ = metrics.height();
    if (charWidth_ <= 0)
        charWidth_ = 1;
    if (charHeight_ <= 0)
        charHeight_ = 1;
}

namespace {

// units * base / divisor, rounded to the nearest pixel with halves away from zero, as
// the dialog manager maps its units.
int scaleRounded(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor
                                         : -((-product + half) / divisor));
}

}  // namespace

int DialogUnits::x(int units) const {
    return scaleRounded(units, charWidth_, 4);
}

int DialogUnits::y(int units) const {
    return scaleRounded(units, charHeight_, 8);
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return QRect(x(left), y(top), x(width), y(height));
}
