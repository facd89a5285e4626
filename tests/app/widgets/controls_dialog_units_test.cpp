#include "app/widgets/dialog_units.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

TEST(DialogUnitsTest, DialogFontShowsTheJapaneseTexts) {
    const QFont font = dialogFont();
    EXPECT_EQ(font.pointSize(), 9);
    const QFontMetrics metrics(font);
    for (char32_t ch : {U'の', U'情', U'ﾊ', U'ﾞ', U'ｼ'}) {
        EXPECT_TRUE(metrics.inFontUcs4(ch)) << "U+" << std::hex << static_cast<unsigned>(ch);
    }
    EXPECT_TRUE(font.families().contains(QFontInfo(font).family()))
        << QFontInfo(font).family().toStdString();
}

TEST(DialogUnitsTest, UnitsScaleByTheFontAndRoundToTheNearestPixel) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    const DialogUnits du(font);
    const int cw = du.averageCharWidth();
    const int ch = du.charHeight();
    ASSERT_GT(cw, 2);
    ASSERT_GT(ch, 8);

    EXPECT_EQ(du.x(4), cw);
    EXPECT_EQ(du.y(8), ch);
    EXPECT_EQ(du.x(190), (190 * cw + 2) / 4);
    EXPECT_EQ(du.y(55), (55 * ch + 4) / 8);
    // Halves round away from zero, on both sides of it.
    EXPECT_EQ(du.x(2), (cw + 1) / 2);
    EXPECT_EQ(du.x(-2), -du.x(2));
    EXPECT_EQ(du.y(-55), -du.y(55));
    EXPECT_EQ(du.x(0), 0);

    EXPECT_EQ(du.rect(136, 7, 50, 14), QRect(du.x(136), du.y(7), du.x(50), du.y(14)));
}

}  // namespace
