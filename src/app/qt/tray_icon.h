#pragma once
// The program's icon in the notification area. While it is in use a minimized main bar or
// player window lives in the tray only: a double-click brings the window that has the
// screen back, and the icon's menu offers that window's commands (filled by the current
// MenuSource, each command delivered to the window that filled it). Its tip is
// "tavik vorn" at rest and the player's "<...> Playing .." while a song plays, at most
// 63 bytes, cut on a character boundary.
//
// The platform's tray sits behind TrayBackend so that the decisions here can be checked
// without a desktop; QtTrayBackend is the real one over QSystemTrayIcon.
#include <QIcon>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class MenuSource;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class QWidget;

inline constexpr const char* kTrayTipAtRest = "tavik vorn";
inline constexpr std::size_t kTrayTipBytes = 63;

class TrayBackend {
  public:
    virtual ~TrayBackend() = default;
    // Whether the desktop has a notification area at this moment.
    virtual bool isAvailable() const = 0;
    virtual bool isShown() const = 0;
    virtual void show(const QIcon& icon, const QString& tip) = 0;
    virtual void hide() = 0;
    virtual void setTip(const QString& tip) = 0;
    // The menu the platform opens on the icon (right click); it stays owned by the caller.
    virtual void setMenu(QMenu* menu) = 0;
    // Called on a double-click on the icon.
    std::function<void()> onDoubleClick;
};

// The real tray: one QSystemTrayIcon. On a double-click, and on the single click that is
// all a StatusNotifier tray reports, it calls onDoubleClick; the platform opens the menu.
class QtTrayBackend : public TrayBackend {
  public:
    QtTrayBackend();
    ~QtTrayBackend() override;
    bool isAvailable() const override;
    bool isShown() const override;
    void show(const QIcon& icon, const QString& tip) override;
    void hide() override;
    void setTip(const QString& tip) override;
    void setMenu(QMenu* menu) override;

  private:
    std::unique_ptr<QSystemTrayIcon> icon_;
};

class TrayIcon {
  public:
    // `mainWindow` and `menuSource` tell, at the moment of each use, which window has
    // the screen and which MenuSource fills the menu.
    TrayIcon(std::unique_ptr<TrayBackend> backend, std::function<QWidget*()> mainWindow,
             std::function<MenuSource*()> menuSource);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // True when the tray can be used: not turned off (isnoTaskTray) and a notification
    // area exists. Without one the program behaves as with isnoTaskTray set.
    bool inUse(bool isnoTaskTray) const;

    // Shows the icon with `tip`. An icon already shown stays as it is; without a
    // notification area it is shown as soon as one appears.
    void addIcon(const QIcon& icon, std::string_view tip = kTrayTipAtRest);
    // Takes the icon away (also the wish to show it); nothing happens when it is not shown.
    void removeIcon();
    // Follows the notification area over time (called by the icon's own timer): adds the
    // wanted icon when an area appears, and when the area goes away takes the icon down
    // and calls `onTrayLost`, so a window hidden in the tray can be shown again.
    void followAvailability();
    std::function<void()> onTrayLost;
    // Replaces the tip of the shown icon, cut to 63 bytes.
    void setTip(std::string_view tip);

    bool isShown() const;
    // The tip as last handed to the platform.
    const QString& tip() const { return tip_; }

    // Double-click: the window that has the screen is shown normally, raised, activated
    // and shown normally once more.
    void bringBackMainWindow();
    // Refills the icon's menu from the current MenuSource; runs each time the menu is
    // about to open.
    void prepareMenu();
    QMenu& menu() { return *menu_; }

  private:
    std::unique_ptr<TrayBackend> backend_;
    std::function<QWidget*()> mainWindow_;
    std::function<MenuSource*()> menuSource_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QTimer> follow_;
    QString tip_;
    QIcon icon_;
    bool wanted_ = false;
    bool wasAvailable_ = false;
};

// The tip text as the platform keeps it: at most 63 bytes, never cut inside a character.
QString trayTipText(std::string_view tip);
