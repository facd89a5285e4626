#pragma once
// The one application object of vorn. It owns the QApplication, the settings and the ini
// store, the icons, the effect catalogue and the two top-level windows, is the host both
// windows ask for what lies around them (the hand-over of the screen between them, the
// tray tip, the settings sheet, Exit), holds the RemoteControl that carries out what the
// desktop's media controls ask, and runs the start-up and shut-down in their fixed order:
//   construction  QApplication, GStreamer initialised on the user-interface thread
//   run           one player only: the name on the session bus (or the local socket) is
//                 claimed; when another player has it, the paths are handed to that one
//                 and the program ends here, before any window or the ini file
//   InitInstance  program folder, ini path, plug-in registration, icons, empty effect
//                 catalogue, settings, player window (hidden), main bar, mainWindow and
//                 menuSource, tray icon
//   message loop
//   ExitInstance  effect catalogue, main bar, player window destroyed
//   destruction   plug-in unregistered (exactly once, also after a failed start-up)
#include <QIcon>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core/app_settings.h"
#include "app/core/ini_store.h"
#include "app/qt/main_bar_host.h"
#include "app/qt/remote_control.h"
#include "playback/qt/player_host.h"

class QApplication;
class QWidget;
class EffectCatalogue;
class LocalInstance;
class MainBar;
class MenuSource;
class PlayerWindow;
class RemoteService;
class TrayIcon;

// Text of the message box shown when a top-level window cannot be created.
inline constexpr const char* kCreateFailText =
    QT_TRANSLATE_NOOP("PlayerApp", "create fail.. quit.");

// What the command line asks for.
struct StartOptions {
    std::optional<std::string> iniFile;     // --ini FILE
    std::vector<std::string> paths;         // positional paths to play
    std::optional<std::string> language{};  // --language LANG, before the ini's [App] Language
    bool newInstance = false;               // --new-instance: run beside a running player
};

// The plug-in registration calls, replaceable so a test can watch them; by default the
// real registerPlugin / unregisterPlugin for the program folder.
struct PluginRegistration {
    std::function<std::uint32_t(const std::filesystem::path& programDir)> registerPlugin;
    std::function<std::uint32_t(const std::filesystem::path& programDir)> unregisterPlugin;
    static PluginRegistration system();
};

class PlayerApp : public MainBarHost, public PlayerHost {
  public:
    // `argc` must outlive the object, as QApplication requires.
    PlayerApp(int& argc, char** argv, StartOptions options = {},
              PluginRegistration registration = PluginRegistration::system());
    ~PlayerApp() override;
    PlayerApp(const PlayerApp&) = delete;
    PlayerApp& operator=(const PlayerApp&) = delete;

    // The single application object; null before construction and after destruction.
    static PlayerApp* instance();

    // Start-up; false when a window could not be created (the program then ends).
    bool InitInstance();
    // Destroys the effect catalogue, the main bar and the player window; returns 0.
    int ExitInstance();
    // InitInstance, the message loop, ExitInstance. Returns the exit status: 0, or 1
    // when the start-up failed. When another player runs (and newInstance is not set) it
    // hands the paths to that one and returns 0 at once.
    int run();

    // The settings from and to the ini file. saveSettings also puts every other write
    // made to iniStore() since the last save (histories, window position) on disk, in
    // one atomic replacement; a failed write is ignored.
    void loadSettings();
    void saveSettings();
    // Every profile read and write of the program goes through this store.
    IniStore& iniStore() { return *iniStore_; }

    // Shared by both windows. openSettings runs the settings sheet at `startPage` (0
    // other settings, 1 play options) and, when confirmed, re-applies the tray choice;
    // the ini file is written only at Exit.
    AppSettings& settings() override { return settings_; }
    bool trayAvailable() const override;
    void openSettings(int startPage) override;

    // MainBarHost
    ProfileStore& profileStore() override;
    // The window that has the screen: the main bar, or the player window during a play
    // session. The program ends when it is destroyed.
    QWidget* mainWindow() const override { return mainWindow_; }
    void handOverToPlayer(QWidget& bar, const std::string& selection, ListType mode) override;
    void endProgram() override;

    // PlayerHost. setTrayTip sets the tray icon's tip ("tavik vorn", "<...> Playing .."),
    // when the icon is shown, and raises the main bar in the window order. What the
    // player window announces goes on to the desktop's media controls.
    void setTrayTip(const std::string& text) override;
    void handBackToMainBar(QWidget& leaving) override;
    void postExitToMainBar() override;
    void nowPlayingChanged() override;
    void seeked(double seconds) override;

    // The menu filler of mainWindow(); the tray menu is filled through it.
    MenuSource* menuSource() const { return menuSource_; }
    // Add or remove the tray icon (main bar window, tip "tavik vorn", smallIcon).
    virtual void addTrayIcon();
    virtual void removeTrayIcon();

    const std::string& programDir() const { return programDir_; }
    const std::string& iniPath() const { return iniPath_; }
    const StartOptions& startOptions() const { return options_; }
    EffectCatalogue* effectCatalogue() const { return effectCatalogue_.get(); }
    const QIcon& appIcon() const { return appIcon_; }
    const QIcon& smallIcon() const { return smallIcon_; }

  protected:
    // Seams for the windows' creation, so a test can watch the order or make one fail.
    // Start-up step 7: create the player window hidden, without owner, into
    // playerWindow. False when it cannot be created.
    virtual bool createPlayerWindow();
    // Step 8: create the visible main bar into mainBar; it reads the histories, the mode
    // and its position and may post Play. False when it cannot be created.
    virtual bool createMainBar();
    // Step 9: the menu filler the main bar offers.
    virtual MenuSource* mainBarMenuSource();
    // The "create fail.. quit." message box.
    virtual void showCreateFailure();

    std::unique_ptr<MainBar> mainBar;
    std::unique_ptr<PlayerWindow> playerWindow;

  private:
    // The one-player check; true when another player has taken the paths.
    bool handedToRunningPlayer();
    void findProgramDir();
    void loadIcons();
    void playCommandLine();

    std::unique_ptr<QApplication> application_;
    StartOptions options_;
    PluginRegistration registration_;
    std::string programDir_;
    std::string iniPath_;
    std::unique_ptr<IniStore> iniStore_;
    std::unique_ptr<EffectCatalogue> effectCatalogue_;
    QIcon appIcon_;
    QIcon smallIcon_;
    AppSettings settings_;
    QWidget* mainWindow_ = nullptr;
    MenuSource* menuSource_ = nullptr;
    std::unique_ptr<TrayIcon> trayIcon_;
    // Before the service and the socket that hold it, so it outlives them.
    RemoteControl remoteControl_;
    std::unique_ptr<RemoteService> remote_;
    std::unique_ptr<LocalInstance> localInstance_;
    // How long the end of the program waits for a search to stop.
    static constexpr std::chrono::milliseconds kSearchEndLimit{1500};
    bool initialised_ = false;
};
