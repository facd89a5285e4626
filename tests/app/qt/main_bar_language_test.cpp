// The windows' language: the English catalogue replaces the Japanese source texts when it
// is installed, and it is complete: every text has a finished English translation that
// keeps the placeholders and the keyboard accelerator.
#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "app/qt/app_language.h"
#include "main_bar_fakes.h"

namespace {

QStringList actionTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        if (!action->isSeparator())
            texts << action->text();
    return texts;
}

TEST(MainBarLanguage, EnglishWhenInstalledJapaneseAgainWithout) {
    FakeHost host;
    ScriptedDialogs* dialogs = nullptr;
    ASSERT_TRUE(installLanguage("en"));
    {
        auto bar = makeBar(host, dialogs);
        EXPECT_EQ(bar->toolTipText(MainBar::PlayId), "Start playing");
        EXPECT_EQ(modeName(SongListFile), "&Song List");
        QMenu menu;
        bar->fillContextMenu(menu);
        EXPECT_EQ(actionTexts(menu),
                  (QStringList{"Settings...", "Exit", "&About tavik Vornel..."}));
    }
    EXPECT_FALSE(installLanguage("xx"));  // no such catalogue: the source texts
    EXPECT_EQ(modeName(SongListFile), "&SongList");
    ASSERT_TRUE(installLanguage("en"));
    ASSERT_TRUE(installLanguage(""));
    auto bar = makeBar(host, dialogs);
    EXPECT_EQ(bar->toolTipText(MainBar::PlayId), QString::fromUtf8("再生開始"));
}

TEST(MainBarLanguage, TheOptionComesBeforeTheIniKey) {
    FakeHost withKey("[App]\nLanguage=en\n");
    EXPECT_EQ(chosenLanguage("", *withKey.store), "en");
    EXPECT_EQ(chosenLanguage("ja", *withKey.store), "ja");
    FakeHost without;
    EXPECT_EQ(chosenLanguage("", *without.store), "");
}

// The placeholders (%1...) of a text, and its accelerator's presence ("&" before a letter).
QString shape(const QString& text) {
    QStringList parts;
    const QRegularExpression placeholder(QStringLiteral("%\\d"));
    for (auto match = placeholder.globalMatch(text); match.hasNext();)
        parts << match.next().captured();
    parts.sort();
    if (text.contains(QRegularExpression(QStringLiteral("&[^&\\s]"))))
        parts << QStringLiteral("&");
    return parts.join(QLatin1Char(' '));
}

TEST(Catalogue, EveryEnglishTextIsFinishedAndKeepsPlaceholdersAndAccelerator) {
    QFile file(QStringLiteral(VORN_TS_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << VORN_TS_FILE;
    QXmlStreamReader xml(&file);
    int messages = 0;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString english = xml.readElementText();
            ++messages;
            EXPECT_TRUE(type.isEmpty()) << type.toStdString() << ": " << source.toStdString();
            EXPECT_FALSE(english.trimmed().isEmpty()) << source.toStdString();
            EXPECT_EQ(shape(english), shape(source)) << source.toStdString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(messages, 50);
}

}  // namespace
