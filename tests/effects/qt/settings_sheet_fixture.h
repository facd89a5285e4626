#pragma once
// Shared set-up of the settings sheet tests: the application object, a sheet over a
// settings record with recording file choosers and effect access, and typed control lookup.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <memory>
#include <optional>
#include <vector>

#include "app/core/app_settings.h"
#include "effects/qt/settings_sheet.h"
#include "effects/qt/up_down.h"

// One application object for the whole run, made on first use and destroyed after the
// last test: left to the exit handlers it would outlive Qt's own globals and crash.
inline QApplication*& testAppSlot() {
    static QApplication* instance = nullptr;
    return instance;
}

inline QApplication& testApp() {
    static int argc = 1;
    static char name[] = "settings_sheet_test";
    static char* argv[] = {name, nullptr};
    if (!testAppSlot())
        testAppSlot() = new QApplication(argc, argv);
    return *testAppSlot();
}

class TestAppTeardown : public ::testing::Environment {
  public:
    void TearDown() override {
        delete testAppSlot();
        testAppSlot() = nullptr;
    }
};

class SettingsSheetTest : public ::testing::Test {
  protected:
    SettingsSheetTest() { testApp(); }

    // Settings unlike the defaults, so a change or a missed apply shows.
    static AppSettings sampleSettings() {
        AppSettings settings;
        settings.play.isStartAndIcon = true;
        settings.play.PlayTime = 30;
        settings.play.isRepeat = true;
        settings.play.repeatCnt = 3;
        settings.play.isRandom = true;
        settings.play.waitTime = 2;
        settings.play.isEndless = false;
        settings.play.playCnt = 12;
        settings.play.useEffect = true;
        settings.other.isStartAndPlay = true;
        settings.other.isEndAndPlay = false;
        settings.other.isnoTaskTray = true;
        settings.other.slistAddType = 1;
        settings.other.searchExtent = "*.mp3;*.ogg";
        settings.other.flist = "/music/lists";
        settings.other.filter = "/tmp/report.fil";
        return settings;
    }

    // Opens a sheet on `startPage` over `settings`, shown as the user would see it.
    SettingsSheet& open(int startPage) {
        PathChoosers choosers{[this](QWidget*, const QString& initial) {
                                  folderRequests.push_back(initial);
                                  return folderAnswer;
                              },
                              [this](QWidget*) {
                                  ++filterListRequests;
                                  return filterListAnswer;
                              }};
        EffectAccess effects{[this] { return effectSupport; },
                             [this](QWidget* owner, EffectCatalogue& catalogue) {
                                 effectChoices.push_back({owner, &catalogue});
                             }};
        sheet = std::make_unique<SettingsSheet>(settings, startPage, nullptr, choosers, effects);
        sheet->show();
        return *sheet;
    }

    void showPage(int index) { sheet->tabs()->setCurrentIndex(index); }

    template <typename Widget = QWidget>
    Widget* play(int id) {
        return qobject_cast<Widget*>(sheet->playOptionsPage()->control(id));
    }
    template <typename Widget = QWidget>
    Widget* other(int id) {
        return qobject_cast<Widget*>(sheet->otherOptionsPage()->control(id));
    }

    QLineEdit* playEdit(int id) { return play<QLineEdit>(id); }
    QCheckBox* playCheck(int id) { return play<QCheckBox>(id); }

    AppSettings settings = sampleSettings();
    std::unique_ptr<SettingsSheet> sheet;

    std::optional<QString> folderAnswer;
    std::vector<QString> folderRequests;
    std::optional<QString> filterListAnswer;
    int filterListRequests = 0;
    int effectSupport = 0;
    struct EffectChoice {
        QWidget* owner;
        EffectCatalogue* catalogue;
    };
    std::vector<EffectChoice> effectChoices;
};

// Field-by-field equality, so a failing test names what changed.
inline void expectSame(const PlayOptions& a, const PlayOptions& b) {
    EXPECT_EQ(a.isStartAndIcon, b.isStartAndIcon);
    EXPECT_EQ(a.PlayTime, b.PlayTime);
    EXPECT_EQ(a.isRepeat, b.isRepeat);
    EXPECT_EQ(a.repeatCnt, b.repeatCnt);
    EXPECT_EQ(a.isRandom, b.isRandom);
    EXPECT_EQ(a.waitTime, b.waitTime);
    EXPECT_EQ(a.isEndless, b.isEndless);
    EXPECT_EQ(a.playCnt, b.playCnt);
    EXPECT_EQ(a.useEffect, b.useEffect);
    EXPECT_EQ(a.effectCatalogue, b.effectCatalogue);
}

inline void expectSame(const OtherOptions& a, const OtherOptions& b) {
    EXPECT_EQ(a.isStartAndPlay, b.isStartAndPlay);
    EXPECT_EQ(a.isEndAndPlay, b.isEndAndPlay);
    EXPECT_EQ(a.isnoTaskTray, b.isnoTaskTray);
    EXPECT_EQ(a.slistAddType, b.slistAddType);
    EXPECT_EQ(a.searchExtent, b.searchExtent);
    EXPECT_EQ(a.flist, b.flist);
    EXPECT_EQ(a.filter, b.filter);
}
