#pragma once
// A recording host and scripted dialogs for the main bar tests. The host keeps a real
// ini store in a temporary folder.
#include <QAction>
#include <QMenu>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core/app_settings.h"
#include "app/core/ini_store.h"
#include "app/qt/main_bar.h"
#include "app/qt/main_bar_dialogs.h"
#include "app/qt/main_bar_host.h"
#include "support/temp_dir.h"

struct HandOver {
    std::string selection;
    ListType mode;
};

class FakeHost : public MainBarHost {
  public:
    explicit FakeHost(const std::string& iniText = "") : iniPath(dir.file("tvorn.ini")) {
        if (!iniText.empty()) {
            std::FILE* file = std::fopen(iniPath.c_str(), "w");
            std::fputs(iniText.c_str(), file);
            std::fclose(file);
        }
        store = std::make_unique<IniStore>(iniPath);
    }

    ProfileStore& profileStore() override { return *store; }
    AppSettings& settings() override { return appSettings; }
    bool trayAvailable() const override { return tray; }
    QWidget* mainWindow() const override { return main; }
    void handOverToPlayer(QWidget& /*bar*/, const std::string& selection, ListType mode) override {
        handOvers.push_back({selection, mode});
    }
    void openSettings(int startPage) override { settingsPages.push_back(startPage); }
    void endProgram() override {
        ++ends;
        store->flush();
    }

    testsupport::TempDir dir;
    std::string iniPath;
    std::unique_ptr<IniStore> store;
    AppSettings appSettings;
    bool tray = true;
    QWidget* main = nullptr;
    std::vector<HandOver> handOvers;
    std::vector<int> settingsPages;
    int ends = 0;
};

// One item of a menu as the user would see it.
struct MenuItem {
    QString text;
    int id = 0;  // 0 for a separator
    bool checked = false;
};

inline std::vector<MenuItem> itemsOf(const QMenu& menu) {
    std::vector<MenuItem> items;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            items.push_back({QString(), 0, false});
        else
            items.push_back({action->text(), action->data().toInt(), action->isChecked()});
    }
    return items;
}

class ScriptedDialogs : public MainBarDialogs {
  public:
    std::optional<QString> chooseFolder(QWidget* /*owner*/, const QString& title,
                                        const QString& initial) override {
        folderTitles.push_back(title);
        initialFolders.push_back(initial);
        return folderAnswer;
    }
    QStringList chooseFiles(QWidget* /*owner*/, const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return filesAnswer;
    }
    // Notes the menu and picks the item whose command is `menuChoice` (0: dismissed).
    QAction* runMenu(QMenu& menu, const QPoint& at) override {
        menus.push_back(itemsOf(menu));
        menuAnchors.push_back(at);
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator() && action->data().toInt() == menuChoice) {
                action->trigger();
                return action;
            }
        }
        return nullptr;
    }

    std::optional<QString> folderAnswer;
    QStringList filesAnswer;
    int menuChoice = 0;
    std::vector<QString> folderTitles;
    std::vector<QString> initialFolders;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<std::vector<MenuItem>> menus;
    std::vector<QPoint> menuAnchors;
};

// A bar over `host` whose dialogs the test answers through `dialogs`.
inline std::unique_ptr<MainBar> makeBar(FakeHost& host, ScriptedDialogs*& dialogs) {
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    auto bar = std::make_unique<MainBar>(host, std::move(scripted));
    host.main = bar.get();
    return bar;
}
