#include "app/widgets/about_box.h"

#include "app/widgets/app_icons.h"
#include "app/widgets/dialog_units.h"
#include "app/widgets/link_label.h"
#include "support/dialog_layout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

TEST(AboutBoxTest, ShowsTheVersionCaptionAndCredit) {
    AboutBox box;
    EXPECT_EQ(box.windowTitle(), utf8("tavik Vornelのﾊﾞｰｼﾞｮﾝ情報"));
    auto* version = qobject_cast<QLineEdit*>(box.control(AboutBox::VersionId));
    auto* credit = qobject_cast<QLineEdit*>(box.control(AboutBox::CreditId));
    ASSERT_NE(version, nullptr);
    ASSERT_NE(credit, nullptr);
    EXPECT_EQ(version->text(), utf8("tavik Vornel Version 1.2"));
    EXPECT_EQ(credit->text(), utf8("vorn developers"));
    EXPECT_TRUE(version->isReadOnly());
    EXPECT_TRUE(credit->isReadOnly());

    auto* ok = qobject_cast<QPushButton*>(box.control(AboutBox::OkId));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), utf8("OK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(qobject_cast<LinkLabel*>(box.control(AboutBox::LinkId)), box.link());
    EXPECT_NE(qobject_cast<QLabel*>(box.control(AboutBox::IconId)), nullptr);
    EXPECT_EQ(box.control(4242), nullptr);
}

TEST(AboutBoxTest, ControlsSitWhereTheDialogUnitsPutThem) {
    AboutBox box;
    const DialogUnits du(box.font());
    EXPECT_EQ(box.size(), QSize(du.x(190), du.y(55)));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    testsupport::expectPlaces(du, {
                                      {"OK", box.control(AboutBox::OkId), 136, 7, 50, 14},
                                      {"link", box.control(AboutBox::LinkId), 51, 36, 66, 11},
                                      {"version", box.control(AboutBox::VersionId), 39, 5, 91, 12},
                                      {"credit", box.control(AboutBox::CreditId), 39, 20, 91, 12},
                                  });
    EXPECT_EQ(box.control(AboutBox::IconId)->pos(), QPoint(du.x(4), du.y(17)));
    for (QWidget* child : box.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        EXPECT_TRUE(box.rect().contains(child->geometry())) << child->objectName().toStdString();
    }
}

TEST(AboutBoxTest, TextsFitTheirControls) {
    AboutBox box;
    for (int id : {AboutBox::VersionId, AboutBox::CreditId}) {
        auto* edit = qobject_cast<QLineEdit*>(box.control(id));
        const QFontMetrics metrics(edit->font());
        // The frame and the inner margins take a few pixels on each side.
        EXPECT_LE(metrics.horizontalAdvance(edit->text()) + 8, edit->width()) << id;
        EXPECT_LE(metrics.height() + 4, edit->height()) << id;
    }
    LinkLabel* link = box.link();
    const QFontMetrics linkMetrics(link->font());
    EXPECT_LE(linkMetrics.horizontalAdvance(link->text()) + 2, link->width());
    EXPECT_LE(linkMetrics.height() + 1, link->height());
}

TEST(AboutBoxTest, TooltipsComeFromTheStringsOfTheControlIds) {
    AboutBox box;
    EXPECT_TRUE(box.testAttribute(Qt::WA_AlwaysShowToolTips));
    EXPECT_EQ(box.control(AboutBox::VersionId)->toolTip(),
              utf8("あなたのVornelとして是非ご使用ください(^^)"));
    for (int id : {AboutBox::LinkId, AboutBox::CreditId, AboutBox::IconId}) {
        const QString tip = box.control(id)->toolTip();
        EXPECT_EQ(tip, aboutToolTip(id));
        EXPECT_TRUE(tip.contains(QStringLiteral("vorn developers"))) << id;
        EXPECT_LE(tip.toUtf8().size(), 79) << id;
    }
    EXPECT_TRUE(box.control(AboutBox::OkId)->toolTip().isEmpty());
    EXPECT_TRUE(aboutToolTip(AboutBox::OkId).isEmpty());
}

TEST(AboutBoxTest, OkClosesTheBoxAndHasTheFocus) {
    AboutBox box;
    box.show();
    QApplication::setActiveWindow(&box);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    EXPECT_EQ(QApplication::focusWidget(), box.control(AboutBox::OkId));
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBoxTest, ShowsTheProgramIcon) {
    AboutBox box;
    auto* icon = qobject_cast<QLabel*>(box.control(AboutBox::IconId));
    ASSERT_NE(icon, nullptr);
    const QImage shown = icon->pixmap().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(32, 32));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32),
              appIconPixmap(32).toImage().convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(icon->size(), QSize(32, 32));
}

TEST(AboutBoxTest, LinkPointsAtTheReadmeWhenThereIsOne) {
    AboutBox box;
    const QString readme = findReadme(QCoreApplication::applicationDirPath());
    LinkLabel* link = box.link();
    EXPECT_EQ(link->text(), utf8("README"));
    if (readme.isEmpty()) {
        EXPECT_FALSE(link->isEnabled());
    } else {
        EXPECT_TRUE(link->isEnabled());
        EXPECT_EQ(link->address(), QUrl::fromLocalFile(readme));
    }
}

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# vorn\n");
}

TEST(AboutBoxTest, FindsTheReadmeBesideTheProgramThenInstalledThenInTheSourceTree) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString program = root.filePath(QStringLiteral("build/bin"));
    QDir().mkpath(program);
    EXPECT_TRUE(findReadme(program).isEmpty());

    // A folder of that name is not a README.
    QDir().mkpath(root.filePath(QStringLiteral("build/README.md")));
    EXPECT_TRUE(findReadme(program).isEmpty());

    touch(root.filePath(QStringLiteral("README.md")));
    EXPECT_EQ(findReadme(program),
              QFileInfo(root.filePath(QStringLiteral("README.md"))).canonicalFilePath());

    const QString installed = root.filePath(QStringLiteral("build/share/doc/vorn/README.md"));
    touch(installed);
    EXPECT_EQ(findReadme(program), QFileInfo(installed).canonicalFilePath());

    const QString beside = root.filePath(QStringLiteral("build/bin/README.md"));
    touch(beside);
    EXPECT_EQ(findReadme(program), QFileInfo(beside).canonicalFilePath());
}

}  // namespace
