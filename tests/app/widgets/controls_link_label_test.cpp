#include "app/widgets/link_label.h"

#include "controls_test_pixels.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace controls_test;

namespace {

constexpr QRgb kBackground = 0x808080;

class LinkLabelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        QPalette colours = host->palette();
        colours.setColor(QPalette::Window, QColor(kBackground));
        host->setPalette(colours);
        QFont big = host->font();
        big.setPixelSize(24);
        big.setBold(true);
        host->setFont(big);
        host->resize(300, 200);
        label = new LinkLabel(QStringLiteral("README"), host.get());
        label->setGeometry(10, 10, 200, 40);
        label->setOpener([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
    }

    void enter() {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(label, &event);
    }

    void leave() {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(label, &event);
    }

    std::unique_ptr<QWidget> host;
    LinkLabel* label = nullptr;
    std::vector<QUrl> opened;
};

// The text colour covers the glyphs; the shadow shows one or two pixels to the right of
// and one below them. Colours of the other looks appear nowhere.
void expectLook(const QImage& image, QRgb shadow, QRgb text) {
    const QRect textBox = boxOf(image, text);
    const QRect shadowBox = boxOf(image, shadow);
    ASSERT_FALSE(textBox.isNull());
    ASSERT_FALSE(shadowBox.isNull());
    EXPECT_GT(countOf(image, text), 40);
    EXPECT_GT(countOf(image, shadow), 10);
    EXPECT_NEAR(shadowBox.right() - textBox.right(), 2, 1);
    EXPECT_NEAR(shadowBox.bottom() - textBox.bottom(), 1, 1);
    EXPECT_NEAR(shadowBox.left() - textBox.left(), 1, 1);
    for (QRgb other : {LinkLabel::restText, LinkLabel::hoverShadow}) {
        if (other != text && other != shadow) {
            EXPECT_EQ(countOf(image, other, 20), 0);
        }
    }
}

TEST_F(LinkLabelTest, ColoursAtRestUnderThePointerAndWhilePressed) {
    const QImage rest = render(*label);
    expectLook(rest, LinkLabel::restShadow, LinkLabel::restText);
    EXPECT_EQ(pixel(rest, 0, 0), kBackground);  // no background of its own
    EXPECT_EQ(LinkLabel::restText, qRgb(80, 100, 10) & 0xFFFFFF);

    enter();
    EXPECT_TRUE(label->isHovered());
    expectLook(render(*label), LinkLabel::hoverShadow, LinkLabel::hoverText);

    label->setDown(true);
    expectLook(render(*label), LinkLabel::pressedShadow, LinkLabel::pressedText);
    EXPECT_EQ(LinkLabel::pressedText, qRgb(150, 75, 150) & 0xFFFFFF);

    label->setDown(false);
    leave();
    EXPECT_FALSE(label->isHovered());
    expectLook(render(*label), LinkLabel::restShadow, LinkLabel::restText);
}

TEST_F(LinkLabelTest, PressedWithoutThePointerOverItKeepsTheRestingLook) {
    label->setDown(true);
    expectLook(render(*label), LinkLabel::restShadow, LinkLabel::restText);
}

TEST_F(LinkLabelTest, TextIsCentredAndAWiderOneStartsAtTheLeftEdge) {
    const QImage image = render(*label);
    const QRect ink = inkBox(image, image.rect(), kBackground, 20);
    EXPECT_NEAR(ink.center().x(), 100, 3);
    EXPECT_NEAR(ink.center().y(), 20, 4);

    // Centred, the text's first pixel lies half the free space in; wider than the label,
    // it starts at the left edge with the same first pixel.
    const QFontMetrics metrics(label->font());
    const int centredOffset = (200 - metrics.horizontalAdvance(label->text())) / 2;
    const QRect centred = boxOf(image, LinkLabel::restText);
    label->resize(30, 40);
    const QRect narrow = boxOf(render(*label), LinkLabel::restText);
    ASSERT_FALSE(narrow.isNull());
    EXPECT_EQ(narrow.left(), centred.left() - centredOffset);
    EXPECT_EQ(narrow.top(), centred.top());
}

TEST_F(LinkLabelTest, ClickReturnsBeforeTheAddressIsOpened) {
    label->click();
    EXPECT_TRUE(opened.empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front(), QUrl::fromUserInput(QStringLiteral("README")));
}

TEST_F(LinkLabelTest, OpensTheTextAsAddressUnlessOneIsSet) {
    label->setText(QStringLiteral("https://example.org/vorn"));
    label->click();
    label->setAddress(QUrl::fromLocalFile(QStringLiteral("/tmp/README.md")));
    label->click();
    label->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.org/vorn")));
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("file:///tmp/README.md")));
    EXPECT_EQ(opened[2], opened[1]);
}

TEST_F(LinkLabelTest, OpeningStillHappensWhenTheLabelIsGoneAfterTheClick) {
    label->click();
    delete label;
    label = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(LinkLabelTest, DisabledOrEmptyLabelOpensNothing) {
    label->setEnabled(false);
    label->click();
    label->setEnabled(true);
    label->setText(QString());
    label->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(opened.empty());
}

}  // namespace
