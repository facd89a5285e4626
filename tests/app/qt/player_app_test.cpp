// The application object's start-up and shut-down on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/qt/app_language.h"
#include "app/qt/main_bar.h"
#include "app/qt/player_app.h"
#include "app/widgets/about_box.h"
#include "app/widgets/app_icons.h"
#include "effects/gst/effect_catalogue.h"
#include "effects/qt/settings_sheet.h"
#include "support/temp_dir.h"

namespace {

using testsupport::TempDir;

int argc = 1;
char programName[] = "player_app_test";
char* argv[] = {programName, nullptr};

std::string readFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// Calls the real registration functions and notes each call.
struct RegistrationLog {
    std::vector<std::string> calls;
    PluginRegistration hooks() {
        PluginRegistration real = PluginRegistration::system();
        return PluginRegistration{[this, real](const std::filesystem::path& dir) {
                                      calls.push_back("register " + dir.string());
                                      return real.registerPlugin(dir);
                                  },
                                  [this, real](const std::filesystem::path& dir) {
                                      calls.push_back("unregister " + dir.string());
                                      return real.unregisterPlugin(dir);
                                  }};
    }
};

// Notes the start-up steps reached through the window seams, and can make a window fail.
class WatchedApp : public PlayerApp {
  public:
    WatchedApp(StartOptions options, RegistrationLog& log)
        : PlayerApp(argc, argv, std::move(options), log.hooks()), log_(log) {}

    bool failPlayerWindow = false;
    bool failMainBar = false;
    std::vector<std::string> steps;

  protected:
    bool createPlayerWindow() override {
        steps.push_back("player window, PlayTime " + std::to_string(settings().play.PlayTime) +
                        (log_.calls.empty() ? ", unregistered" : ", registered"));
        return !failPlayerWindow && PlayerApp::createPlayerWindow();
    }
    bool createMainBar() override {
        steps.push_back("main bar");
        return !failMainBar && PlayerApp::createMainBar();
    }
    void addTrayIcon() override { steps.push_back("tray added"); }
    void removeTrayIcon() override { steps.push_back("tray removed"); }

  private:
    RegistrationLog& log_;
};

// Answers the next modal window (a message box or a dialog) once it is shown, noting the
// message box's text.
class ModalAnswer {
  public:
    ModalAnswer() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                text = box->text().toStdString();
            seen = modal->metaObject()->className();
            if (auto* sheet = qobject_cast<SettingsSheet*>(modal)) {
                sheet->accept();
            } else {
                modal->close();
            }
            timer_.stop();
        });
        timer_.start();
    }
    std::string text;
    std::string seen;

  private:
    QTimer timer_;
};

TEST(PlayerApp, StartsInOrderAndEndsWithOneUnregistration) {
    TempDir dir;
    const std::string ini = dir.file("tvorn.ini");
    std::ofstream(ini) << "[PlaySettings]\nPlayTime=30\n";
    RegistrationLog log;
    std::string programDir;
    {
        WatchedApp app({ini, {}}, log);
        EXPECT_EQ(PlayerApp::instance(), &app);
        ASSERT_TRUE(app.InitInstance());
        programDir = app.programDir();
        EXPECT_EQ(programDir, QCoreApplication::applicationDirPath().toStdString());
        EXPECT_EQ(app.iniPath(), ini);
        EXPECT_EQ(app.settings().play.PlayTime, 30);
        EXPECT_EQ(app.settings().other.searchExtent, "*.wav;*.mp3;*.avi");
        ASSERT_NE(app.effectCatalogue(), nullptr);
        EXPECT_EQ(app.effectCatalogue()->effectCount(), 0);  // filled only on demand
        EXPECT_EQ(app.settings().play.effectCatalogue, app.effectCatalogue());
        EXPECT_FALSE(app.smallIcon().isNull());
        EXPECT_EQ(app.appIcon().availableSizes().size(), 4);
        EXPECT_EQ(app.steps, (std::vector<std::string>{"player window, PlayTime 30, registered",
                                                       "main bar", "tray added"}));
        EXPECT_NE(app.mainWindow(), nullptr);
        EXPECT_EQ(log.calls, std::vector<std::string>{"register " + programDir});

        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_EQ(app.effectCatalogue(), nullptr);
        EXPECT_EQ(app.mainWindow(), nullptr);
        EXPECT_EQ(log.calls.size(), 1u);  // not yet: the destruction unregisters
    }
    EXPECT_EQ(PlayerApp::instance(), nullptr);
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"register " + programDir, "unregister " + programDir}));
    EXPECT_EQ(readFile(ini), "[PlaySettings]\nPlayTime=30\n");  // only Exit writes
}

TEST(PlayerApp, NoTrayIconWhenTheSettingsSaySo) {
    TempDir dir;
    const std::string ini = dir.file("tvorn.ini");
    std::ofstream(ini) << "[OhterSettings]\nisnoTaskTray=1\n";
    RegistrationLog log;
    WatchedApp app({ini, {}}, log);
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.steps.back(), "main bar");
    app.ExitInstance();
}

TEST(PlayerApp, APlayerWindowThatFailsEndsTheStartUpWithTheMessage) {
    TempDir dir;
    const std::string ini = dir.file("tvorn.ini");
    RegistrationLog log;
    {
        WatchedApp app({ini, {}}, log);
        app.failPlayerWindow = true;
        ModalAnswer answer;
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(answer.text, "create fail.. quit.");
        EXPECT_EQ(app.steps.size(), 1u);  // no main bar was tried
        app.ExitInstance();
    }
    EXPECT_FALSE(std::filesystem::exists(ini));  // nothing written
    EXPECT_EQ(log.calls.size(), 2u);             // registered, and unregistered all the same
}

TEST(PlayerApp, AMainBarThatFailsSavesTheSettingsFirst) {
    TempDir dir;
    const std::string ini = dir.file("tvorn.ini");
    std::ofstream(ini) << "[PlaySettings]\nwaitTime=4\n";
    RegistrationLog log;
    {
        WatchedApp app({ini, {}}, log);
        app.failMainBar = true;
        ModalAnswer answer;
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(answer.text, "create fail.. quit.");
        EXPECT_EQ(app.mainWindow(), nullptr);
        app.ExitInstance();
    }
    const std::string text = readFile(ini);
    EXPECT_NE(text.find("waitTime=4"), std::string::npos);
    EXPECT_NE(text.find("[OhterSettings]"), std::string::npos);
    EXPECT_NE(text.find("searchExtent=*.wav;*.mp3;*.avi"), std::string::npos);
    EXPECT_EQ(log.calls.size(), 2u);
}

TEST(PlayerApp, RunShowsTheMainBarAndEndsThroughExitWritingTheIni) {
    TempDir dir;
    RegistrationLog log;
    {
        PlayerApp app(argc, argv, {dir.file("tvorn.ini"), {}}, log.hooks());
        QTimer::singleShot(0, [&app] {
            ASSERT_NE(app.mainWindow(), nullptr);
            EXPECT_TRUE(app.mainWindow()->isVisible());
            QMetaObject::invokeMethod(app.mainWindow(), "command", Qt::QueuedConnection,
                                      Q_ARG(int, 2));
        });
        EXPECT_EQ(app.run(), 0);
        EXPECT_EQ(app.effectCatalogue(), nullptr);  // ExitInstance ran
    }
    EXPECT_EQ(log.calls.size(), 2u);
    const std::string text = readFile(dir.file("tvorn.ini"));
    EXPECT_NE(text.find("[App]"), std::string::npos);
    EXPECT_NE(text.find("ListType=0"), std::string::npos);
    EXPECT_NE(text.find("filter="), std::string::npos);
    EXPECT_EQ(text.find("Language"), std::string::npos);  // written only by hand
}

// The ini key [App] Language and the --language option, which comes first.
TEST(PlayerApp, TheLanguageComesFromTheOptionElseFromTheIni) {
    struct Case {
        std::string ini;
        std::optional<std::string> option;
        const char* playTip;
    };
    for (const Case& c :
         {Case{"[App]\nLanguage=en\n", std::nullopt, "Start playing"},
          Case{"[App]\nLanguage=en\n", "ja", "再生開始"}, Case{"", "en", "Start playing"}}) {
        TempDir dir;
        std::ofstream(dir.file("tvorn.ini")) << c.ini;
        RegistrationLog log;
        PlayerApp app(argc, argv, {dir.file("tvorn.ini"), {}, c.option}, log.hooks());
        ASSERT_TRUE(app.InitInstance());
        const auto* bar = qobject_cast<MainBar*>(app.mainWindow());
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->toolTipText(MainBar::PlayId).toStdString(), c.playTip) << c.ini;
        app.ExitInstance();
        installLanguage("");
    }
}

TEST(PlayerApp, ConfirmedSettingsReapplyTheTrayChoice) {
    TempDir dir;
    RegistrationLog log;
    WatchedApp app({dir.file("tvorn.ini"), {}}, log);
    ASSERT_TRUE(app.InitInstance());
    app.steps.clear();
    {
        ModalAnswer answer;
        app.openSettings(1);
        EXPECT_EQ(answer.seen, "SettingsSheet");
    }
    app.settings().other.isnoTaskTray = true;
    app.mainWindow()->hide();
    {
        ModalAnswer answer;
        app.openSettings(0);
    }
    EXPECT_EQ(app.steps, (std::vector<std::string>{"tray added", "tray removed"}));
    EXPECT_TRUE(app.mainWindow()->isVisible());
    EXPECT_FALSE(std::filesystem::exists(dir.file("tvorn.ini")));  // written at Exit only
    app.ExitInstance();
}

TEST(AppIcons, TheArtworkIsThere) {
    RegistrationLog log;
    PlayerApp app(argc, argv, {}, log.hooks());  // a QApplication for the pixmaps
    EXPECT_EQ(thumbPixmap().size(), QSize(kThumbWidth, kThumbHeight));
    for (int size : {16, 32, 48, 128})
        EXPECT_EQ(appIconPixmap(size).size(), QSize(size, size));
    EXPECT_EQ(smallAppIcon().availableSizes(), QList<QSize>{QSize(16, 16)});
    EXPECT_TRUE(log.calls.empty());  // no start-up, no registration to undo
}

}  // namespace
