#include "playback/qt/position_slider.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "position_slider_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down after main() has returned crashes on exit.
    static auto* instance = new QApplication(argc, argv);
    return *instance;
}

// Text is antialiased: a glyph's core pixels come close to the pen colour.
bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           60;
}

class PositionSliderTest : public ::testing::Test {
  protected:
    PositionSliderTest() : slider((app(), nullptr)) {
        slider.resize(360, 30);
        QPixmap thumb(11, 16);
        thumb.fill(Qt::blue);
        slider.setThumb(thumb);
    }

    QImage render() {
        QImage image(slider.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        slider.render(&image);
        return image;
    }

    PositionSlider slider;
};

TEST_F(PositionSliderTest, ChannelRisesHigherInTheStopMarkColourWhenStoppingAfterTheSong) {
    const int c = slider.height();
    const int x = slider.channelRight() - 6;
    slider.setValue(50);  // keep the thumb off both ends of the channel

    QImage plain = render();
    EXPECT_EQ(QColor(plain.pixel(x, c - 5)), PositionSlider::kChannelColor);
    EXPECT_EQ(QColor(plain.pixel(x, c - 10)), PositionSlider::kChannelColor);
    EXPECT_NE(QColor(plain.pixel(x, c - 15)), PositionSlider::kChannelColor);
    EXPECT_EQ(QColor(plain.pixel(slider.channelLeft() + 5, c - 8)), PositionSlider::kChannelColor);

    slider.setStopMark(true);
    QImage marked = render();
    EXPECT_EQ(QColor(marked.pixel(x, c - 8)), PositionSlider::kStopMarkColor);
    EXPECT_EQ(QColor(marked.pixel(x, c - 20)), PositionSlider::kStopMarkColor);
    EXPECT_NE(QColor(marked.pixel(x, c - 21)), PositionSlider::kStopMarkColor);
}

TEST_F(PositionSliderTest, TimeTextIsRightAlignedAndItsElapsedHalfIsTheRepaintRect) {
    slider.setTimeTexts("01:23", "/04:56");
    QImage image = render();
    const QFontMetrics metrics(slider.font());
    const int w = metrics.horizontalAdvance("01:23/04:56");
    const QRect rect = slider.timeTextRect();
    EXPECT_EQ(rect.left(), slider.channelRight() - w - 6);
    EXPECT_EQ(rect.right() + 1, slider.channelRight() - w / 2 - 6);
    EXPECT_EQ(rect.top(), 0);
    EXPECT_EQ(rect.bottom() + 1, metrics.height());
    bool timeColourSeen = false;
    for (int x = rect.left(); x <= rect.right() && !timeColourSeen; ++x)
        for (int y = 0; y < metrics.height(); ++y)
            if (near(QColor(image.pixel(x, y)), PositionSlider::kTimeColor))
                timeColourSeen = true;
    EXPECT_TRUE(timeColourSeen);
}

TEST_F(PositionSliderTest, EveryDragStepTheReleaseKeysAndChannelClicksAskForAPosition) {
    slider.show();
    QSignalSpy spy(&slider, &PositionSlider::seekRequested);
    slider.setValue(0);
    const QPoint grip = slider.thumbRect(0).center();
    const QPoint middle(slider.thumbRect(50).center().x(), grip.y());
    QTest::mousePress(&slider, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&slider, QPoint((grip.x() + middle.x()) / 2, grip.y()));
    QTest::mouseMove(&slider, middle);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, middle);
    ASSERT_GE(spy.count(), 3);
    EXPECT_EQ(spy.at(spy.count() - 2).at(0).toInt(), 50);  // last drag step
    EXPECT_EQ(spy.last().at(0).toInt(), 50);               // the release
    EXPECT_EQ(slider.value(), 50);

    spy.clear();
    QTest::keyClick(&slider, Qt::Key_Right);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.last().at(0).toInt(), 51);

    spy.clear();
    QTest::mouseClick(&slider, Qt::LeftButton, {}, slider.thumbRect(90).center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.last().at(0).toInt(), 56);  // one page toward the click
}

}  // namespace
