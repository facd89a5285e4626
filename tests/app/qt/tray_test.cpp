// The tray icon's decisions over a recording backend: the offscreen platform has no tray.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#include <string>
#include <vector>

#include "app/qt/tray_icon.h"
#include "app/widgets/menu_source.h"

namespace {

struct TrayLog {
    bool available = true;
    bool shown = false;
    int shows = 0;
    int hides = 0;
    QString tip;
    QMenu* menu = nullptr;
};

class FakeTray : public TrayBackend {
  public:
    explicit FakeTray(TrayLog& log) : log_(log) {}
    bool isAvailable() const override { return log_.available; }
    bool isShown() const override { return log_.shown; }
    void show(const QIcon& /*icon*/, const QString& tip) override {
        log_.shown = true;
        ++log_.shows;
        log_.tip = tip;
    }
    void hide() override {
        log_.shown = false;
        ++log_.hides;
    }
    void setTip(const QString& tip) override { log_.tip = tip; }
    void setMenu(QMenu* menu) override { log_.menu = menu; }

  private:
    TrayLog& log_;
};

// A window's menu source: its items carry ids and deliver them back to it.
class Commands : public MenuSource {
  public:
    explicit Commands(std::vector<int> ids) : ids_(std::move(ids)) {}
    void fillMenu(QMenu& menu) override {
        for (int id : ids_) {
            QAction* item = menu.addAction(QString::number(id));
            item->setData(id);
            QObject::connect(item, &QAction::triggered, [this, id] { received.push_back(id); });
        }
    }
    std::vector<int> received;

  private:
    std::vector<int> ids_;
};

struct Tray {
    TrayLog log;
    QWidget* window = nullptr;
    MenuSource* source = nullptr;
    TrayIcon icon{std::make_unique<FakeTray>(log), [this] { return window; },
                  [this] { return source; }};
};

std::vector<int> idsOf(const QMenu& menu) {
    std::vector<int> ids;
    for (const QAction* action : menu.actions())
        ids.push_back(action->data().toInt());
    return ids;
}

TEST(TrayIcon, AddShowsTheIconOnceWithTheRestingTip) {
    Tray tray;
    EXPECT_TRUE(tray.icon.inUse(false));
    tray.icon.addIcon(QIcon());
    EXPECT_TRUE(tray.icon.isShown());
    EXPECT_EQ(tray.log.tip, QStringLiteral("tavik vorn"));
    EXPECT_EQ(tray.log.menu, &tray.icon.menu());

    // Adding again changes nothing, not even the tip.
    tray.icon.setTip("<song> Playing ..");
    tray.icon.addIcon(QIcon(), "another");
    EXPECT_EQ(tray.log.shows, 1);
    EXPECT_EQ(tray.log.tip, QStringLiteral("<song> Playing .."));

    tray.icon.removeIcon();
    tray.icon.removeIcon();
    EXPECT_FALSE(tray.icon.isShown());
    EXPECT_EQ(tray.log.hides, 1) << "removing an icon that is not there does nothing";
    tray.icon.setTip("ignored");
    EXPECT_EQ(tray.log.tip, QStringLiteral("<song> Playing .."));
}

TEST(TrayIcon, WithoutANotificationAreaItBehavesAsTurnedOff) {
    Tray tray;
    tray.log.available = false;
    EXPECT_FALSE(tray.icon.inUse(false));
    tray.icon.addIcon(QIcon());
    EXPECT_FALSE(tray.icon.isShown());
    EXPECT_EQ(tray.log.shows, 0);

    tray.log.available = true;
    EXPECT_FALSE(tray.icon.inUse(true)) << "isnoTaskTray turns it off";
    EXPECT_TRUE(tray.icon.inUse(false));
}

TEST(TrayIcon, TheTipKeepsAtMost63BytesAndWholeCharacters) {
    Tray tray;
    tray.icon.addIcon(QIcon());
    // "<" and 30 three-byte characters: the 21st character would end at byte 64.
    std::string title = "<";
    for (int i = 0; i < 30; ++i)
        title += "曲";
    const std::string tip = title + "> Playing ..";
    tray.icon.setTip(tip);
    const std::string shown = tray.log.tip.toStdString();
    EXPECT_EQ(shown.size(), 61u);
    EXPECT_EQ(tip.compare(0, shown.size(), shown), 0);

    const std::string ascii(80, 'a');
    tray.icon.setTip(ascii);
    EXPECT_EQ(tray.log.tip.toStdString(), std::string(63, 'a'));
    EXPECT_EQ(trayTipText("tavik vorn"), QStringLiteral("tavik vorn"));
}

TEST(TrayIcon, DoubleClickBringsBackTheWindowThatHasTheScreen) {
    Tray tray;
    QWidget bar;
    bar.resize(200, 30);
    bar.show();
    bar.showMinimized();
    bar.hide();  // minimized to the tray
    tray.window = &bar;
    tray.icon.bringBackMainWindow();
    EXPECT_TRUE(bar.isVisible());
    EXPECT_FALSE(bar.isMinimized());

    tray.window = nullptr;
    tray.icon.bringBackMainWindow();  // no window: nothing to do
}

TEST(TrayIcon, TheMenuIsFilledByTheCurrentSourceEachTimeItOpens) {
    Tray tray;
    Commands barCommands({32772, 0, 2});
    Commands playerCommands({201, 32772, 2});
    tray.source = &barCommands;
    emit tray.icon.menu().aboutToShow();
    EXPECT_EQ(idsOf(tray.icon.menu()), (std::vector<int>{32772, 0, 2}));

    // A play session: the player window's commands, and they go to the player window.
    tray.source = &playerCommands;
    emit tray.icon.menu().aboutToShow();
    EXPECT_EQ(idsOf(tray.icon.menu()), (std::vector<int>{201, 32772, 2}));
    tray.icon.menu().actions().at(2)->trigger();
    EXPECT_EQ(playerCommands.received, std::vector<int>{2});
    EXPECT_TRUE(barCommands.received.empty());

    tray.source = nullptr;
    tray.icon.prepareMenu();
    EXPECT_TRUE(tray.icon.menu().actions().isEmpty());
}

TEST(TrayIcon, TheRealBackendFollowsTheDesktop) {
    // The offscreen platform has no notification area: the real tray is not in use there.
    TrayIcon icon(
        std::make_unique<QtTrayBackend>(), [] { return nullptr; }, [] { return nullptr; });
    EXPECT_EQ(icon.inUse(false), QSystemTrayIcon::isSystemTrayAvailable());
    icon.addIcon(QIcon());
    EXPECT_EQ(icon.isShown(), QSystemTrayIcon::isSystemTrayAvailable());
    icon.removeIcon();
    EXPECT_FALSE(icon.isShown());
}

}  // namespace
