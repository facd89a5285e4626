#include "app/dialog_units.h"

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
    if (charWidth_ <= 0) charWidth_ = 1;
    if (charHeight_ <= 0) charHeight_ = 1;
}

int DialogUnits::x(int units) const { return units * charWidth_ / 4; }

int DialogUnits::y(int units) const { return units * charHeight_ / 8; }

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return QRect(x(left), y(top), x(width), y(height));
}
