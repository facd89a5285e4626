#include "app/widgets/flat_button.h"

#include "controls_test_pixels.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace controls_test;

namespace {

constexpr QRgb kFace = 0xC8C8C8;
constexpr QRgb kLight = 0xFFFFFF;
constexpr QRgb kDark = 0x646464;
constexpr QRgb kInk = 0x000000;
constexpr int kWidth = 60;
constexpr int kHeight = 24;

// A window with distinct button colours holding flat buttons.
class FlatButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        QPalette colours = host->palette();
        colours.setColor(QPalette::Button, QColor(kFace));
        colours.setColor(QPalette::Light, QColor(kLight));
        colours.setColor(QPalette::Dark, QColor(kDark));
        colours.setColor(QPalette::ButtonText, QColor(kInk));
        host->setPalette(colours);
        host->resize(200, 100);
    }

    FlatButton* addButton(const QString& text, QRect geometry = {10, 10, kWidth, kHeight}) {
        auto* button = new FlatButton(text, host.get());
        button->setGeometry(geometry);
        return button;
    }

    void showActive() {
        host->show();
        QApplication::setActiveWindow(host.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    }

    static void enter(QWidget* widget) {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(widget, &event);
    }

    static void leave(QWidget* widget) {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(widget, &event);
    }

    std::unique_ptr<QWidget> host;
};

enum class Edge { Flat, Raised, Pressed };

// Checks every pixel of the border against the look the button should have.
void expectEdge(const QImage& image, Edge edge) {
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    const QRgb topLeft = edge == Edge::Flat ? kFace : edge == Edge::Raised ? kLight : kDark;
    const QRgb bottomRight = edge == Edge::Flat ? kFace : edge == Edge::Raised ? kDark : kLight;
    for (int x = 0; x < right; ++x)
        EXPECT_EQ(pixel(image, x, 0), topLeft) << "top x=" << x;
    for (int y = 0; y < bottom; ++y)
        EXPECT_EQ(pixel(image, 0, y), topLeft) << "left y=" << y;
    for (int y = 0; y < bottom; ++y) {
        EXPECT_EQ(pixel(image, right, y), bottomRight) << "right y=" << y;
    }
    for (int x = 1; x <= right; ++x) {
        EXPECT_EQ(pixel(image, x, bottom), bottomRight) << "bottom x=" << x;
    }
    // Neither line reaches the bottom-left corner.
    EXPECT_EQ(pixel(image, 0, bottom), kFace);
    EXPECT_EQ(pixel(image, image.width() / 2, image.height() / 2), kFace);
}

TEST_F(FlatButtonTest, IsFlatUntilThePointerComesAndFlatAgainWhenItLeaves) {
    FlatButton* button = addButton(QString());
    EXPECT_FALSE(button->isHovered());
    expectEdge(render(*button), Edge::Flat);

    enter(button);
    EXPECT_TRUE(button->isHovered());
    expectEdge(render(*button), Edge::Raised);

    leave(button);
    EXPECT_FALSE(button->isHovered());
    expectEdge(render(*button), Edge::Flat);
}

TEST_F(FlatButtonTest, PressingAHoveredButtonShowsThePressedEdge) {
    FlatButton* button = addButton(QString());
    enter(button);
    button->setDown(true);
    expectEdge(render(*button), Edge::Pressed);
    button->setDown(false);
    expectEdge(render(*button), Edge::Raised);
}

TEST_F(FlatButtonTest, RealPointerMovesRaiseAndFlattenIt) {
    addButton(QString());  // takes the focus when the window is activated
    FlatButton* button = addButton(QString(), {100, 10, kWidth, kHeight});
    showActive();
    ASSERT_FALSE(button->hasFocus());
    QTest::mouseMove(host.get(), QPoint(150, 80));
    EXPECT_FALSE(button->isHovered());
    QTest::mouseMove(button, QPoint(20, 10));
    EXPECT_TRUE(button->isHovered());
    expectEdge(render(*button), Edge::Raised);
    QTest::mouseMove(host.get(), QPoint(150, 80));
    EXPECT_FALSE(button->isHovered());
    expectEdge(render(*button), Edge::Flat);
}

TEST_F(FlatButtonTest, KeyboardFocusKeepsItRaisedUntilTheFocusLeaves) {
    FlatButton* first = addButton(QString());
    FlatButton* second = addButton(QString(), {100, 10, kWidth, kHeight});
    showActive();
    first->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(first->hasFocus());
    EXPECT_TRUE(first->isHovered());
    expectEdge(render(*first), Edge::Raised);

    // The pointer passing over and away leaves a focused button raised.
    enter(first);
    leave(first);
    EXPECT_TRUE(first->isHovered());

    // Tabbing on moves the raised edge to the next button.
    QTest::keyClick(host.get(), Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    EXPECT_TRUE(second->isHovered());
    EXPECT_FALSE(first->isHovered());
    expectEdge(render(*first), Edge::Flat);
    expectEdge(render(*second), Edge::Raised);
}

TEST_F(FlatButtonTest, CaptionIsCentredAndAWiderOneStartsAtTheLeftEdge) {
    FlatButton* narrow = addButton(QStringLiteral("Ok"));
    const QImage narrowImage = render(*narrow);
    const QRect narrowInk = inkBox(narrowImage, narrowImage.rect(), kFace);
    ASSERT_FALSE(narrowInk.isNull());
    EXPECT_NEAR(narrowInk.center().x(), kWidth / 2, 2);
    EXPECT_NEAR(narrowInk.center().y(), kHeight / 2, 3);

    FlatButton* wide = addButton(QStringLiteral("WWWWWWWWWWWWWWWWWWWW"), {10, 40, 40, kHeight});
    const QImage wideImage = render(*wide);
    const QRect wideInk = inkBox(wideImage, wideImage.rect(), kFace);
    ASSERT_FALSE(wideInk.isNull());
    EXPECT_LE(wideInk.left(), 1);
    EXPECT_EQ(wideInk.right(), wideImage.width() - 1);  // the rest is cut off at the right

    // Too tall a caption starts at the top edge.
    FlatButton* low = addButton(QStringLiteral("Ok"), {10, 70, kWidth, 6});
    const QImage lowImage = render(*low);
    const QRect lowInk = inkBox(lowImage, lowImage.rect(), kFace);
    ASSERT_FALSE(lowInk.isNull());
    EXPECT_EQ(lowInk.bottom(), lowImage.height() - 1);
}

TEST_F(FlatButtonTest, MnemonicShowsAsAnUnderlineNotAnAmpersand) {
    FlatButton* plain = addButton(QStringLiteral("Exit"));
    FlatButton* marked = addButton(QStringLiteral("&Exit"), {100, 10, kWidth, kHeight});
    const QImage plainImage = render(*plain);
    const QImage markedImage = render(*marked);
    const QRect plainInk = inkBox(plainImage, plainImage.rect(), kFace);
    const QRect markedInk = inkBox(markedImage, markedImage.rect(), kFace);
    ASSERT_FALSE(plainInk.isNull());
    // The underline may reach a pixel beyond the letter, no further.
    EXPECT_NEAR(markedInk.left(), plainInk.left(), 1);
    EXPECT_NEAR(markedInk.right(), plainInk.right(), 1);
    EXPECT_GT(markedInk.bottom(), plainInk.bottom());
}

TEST_F(FlatButtonTest, DisabledButtonKeepsItsTextColour) {
    FlatButton* button = addButton(QStringLiteral("Play"));
    button->setEnabled(false);
    EXPECT_GT(countOf(render(*button), kInk, 40), 0);
}

}  // namespace
