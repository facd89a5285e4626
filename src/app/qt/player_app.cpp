#include "app/qt/player_app.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

#include "app/core/ini_location.h"
#include "app/core/plugin_registration.h"
#include "app/core/program_identity.h"
#include "app/core/settings_io.h"
#include "app/dbus/local_instance.h"
#include "app/dbus/remote_service.h"
#include "app/gst/gst_init.h"
#include "app/qt/app_language.h"
#include "app/qt/main_bar.h"
#include "app/qt/tray_icon.h"
#include "app/widgets/app_icons.h"
#include "app/widgets/window_position.h"
#include "effects/gst/effect_catalogue.h"
#include "effects/qt/settings_sheet.h"
#include "playback/core/play_modes.h"
#include "playback/core/play_sequencer.h"
#include "playback/qt/player_window.h"
#include "songlist/core/handed_paths.h"
#include "songlist/core/path_selection.h"

namespace {

PlayerApp* theApp = nullptr;

}  // namespace

PluginRegistration PluginRegistration::system() {
    return PluginRegistration{
        [](const std::filesystem::path& dir) { return ::registerPlugin(dir); },
        [](const std::filesystem::path& dir) { return ::unregisterPlugin(dir); }};
}

PlayerApp::PlayerApp(int& argc, char** argv, StartOptions options, PluginRegistration registration)
    : application_(std::make_unique<QApplication>(argc, argv)),
      options_(std::move(options)),
      registration_(std::move(registration)) {
    theApp = this;
    // The program ends only through Exit, which saves everything: closing the last
    // visible window (the settings sheet opened from the tray while the bar is hidden
    // there, a message box) must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // The media framework is initialised on the user-interface thread before any window
    // exists, as the platform's component run time once was.
    ensureGstInitialised();
}

PlayerApp::~PlayerApp() {
    // Also after a failed start-up, so the registration never outlives the program.
    if (initialised_ && registration_.unregisterPlugin) {
        registration_.unregisterPlugin(programDir_);
    }
    // GStreamer stays initialised: it cannot be initialised again within one process.
    settings_.play.effectCatalogue = nullptr;
    if (theApp == this)
        theApp = nullptr;
}

PlayerApp* PlayerApp::instance() {
    return theApp;
}

void PlayerApp::findProgramDir() {
    // The link the kernel keeps names the program file with the file system's bytes.
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string file =
        error ? QCoreApplication::applicationFilePath().toStdString() : self.string();
    programDir_ = programDirectoryOf(file);
}

void PlayerApp::loadIcons() {
    smallIcon_ = ::smallAppIcon();
    appIcon_ = ::appIcon();
    QApplication::setWindowIcon(appIcon_);
}

bool PlayerApp::InitInstance() {
    // 1-2. The program folder and the one ini file every profile access goes to.
    findProgramDir();
    const IniLocation ini = locateIni(iniLocationFromEnvironment(options_.iniFile, programDir_));
    iniPath_ = ini.path;
    iniStore_ = std::make_unique<IniStore>(ini.path, ini.seed);
    // The windows' language, before any window is made.
    installLanguage(chosenLanguage(options_.language.value_or(""), *iniStore_));

    // 3. Register the plug-in; start-up goes on whatever the result.
    initialised_ = true;
    if (registration_.registerPlugin)
        registration_.registerPlugin(programDir_);

    // 4-6. Icons, the empty effect catalogue (the registry is read only when the user
    // asks for effects), the settings.
    loadIcons();
    effectCatalogue_ = std::make_unique<EffectCatalogue>();
    settings_.play.effectCatalogue = effectCatalogue_.get();
    loadSettings();

    // 7. The player window, hidden.
    if (!createPlayerWindow()) {
        showCreateFailure();
        return false;
    }
    // 8. The main bar.
    if (!createMainBar()) {
        saveSettings();
        playerWindow.reset();
        showCreateFailure();
        return false;
    }
    // 9. The main bar has the screen.
    mainWindow_ = mainBar.get();
    menuSource_ = mainBarMenuSource();
    // 10. The tray icon.
    if (!settings_.other.isnoTaskTray)
        addTrayIcon();
    playCommandLine();
    return true;
}

int PlayerApp::ExitInstance() {
    // The windows go: nothing is told about them any more.
    setListener(nullptr);
    // Exit has saved everything already. A search stuck inside a system call (a dead
    // network mount) can't be stopped, and the player window can't be destroyed under it:
    // end the process rather than hang.
    if (player_ && !player_->endSearch(kSearchEndLimit)) {
        std::fputs("vorn: the search did not stop; ending without waiting for it\n", stderr);
        std::fflush(nullptr);
        std::_Exit(0);
    }
    trayIcon_.reset();
    bar_ = nullptr;
    player_ = nullptr;
    settings_.play.effectCatalogue = nullptr;
    effectCatalogue_.reset();
    mainWindow_ = nullptr;
    menuSource_ = nullptr;
    mainBar.reset();
    playerWindow.reset();
    return 0;
}

int PlayerApp::run() {
    if (handedToRunningPlayer())
        return 0;
    const bool started = InitInstance();
    if (started && mainWindow_)
        QApplication::exec();
    ExitInstance();
    return started ? 0 : 1;
}

void PlayerApp::loadSettings() {
    ::loadSettings(*iniStore_, settings_);
}

void PlayerApp::saveSettings() {
    ::saveSettings(*iniStore_, settings_);
    iniStore_->flush();  // a failed write is ignored; the old file stays whole
}

void PlayerApp::openSettings(int startPage) {
    // Owned by the window that has the screen, also while it is hidden in the tray.
    if (!runSettingsSheet(settings_, startPage, mainWindow_))
        return;
    if (settings_.other.isnoTaskTray) {
        removeTrayIcon();
        // The window may have been hidden in the tray while minimized.
        if (mainWindow_)
            mainWindow_->showNormal();
    } else {
        addTrayIcon();
    }
    settingsChanged();  // loop, shuffle and what Next offers may have changed
}

bool PlayerApp::createPlayerWindow() {
    auto window = std::make_unique<PlayerWindow>(*this);
    player_ = window.get();
    playerWindow = std::move(window);
    return true;
}

bool PlayerApp::createMainBar() {
    // The bar reads its histories, mode and position and shows itself; with
    // isStartAndPlay it queues Play for when start-up has finished.
    auto bar = std::make_unique<MainBar>(*this);
    bar_ = bar.get();
    mainBar = std::move(bar);
    return true;
}

MenuSource* PlayerApp::mainBarMenuSource() {
    return bar_;
}

void PlayerApp::addTrayIcon() {
    if (!trayIcon_) {
        trayIcon_ = std::make_unique<TrayIcon>(
            std::make_unique<QtTrayBackend>(), [this] { return mainWindow_; },
            [this] { return menuSource_; });
        // A window hidden in a tray that has gone would be out of reach: show it.
        trayIcon_->onTrayLost = [this] {
            if (mainWindow_ && !mainWindow_->isVisible()) {
                mainWindow_->showNormal();
                mainWindow_->raise();
                mainWindow_->activateWindow();
            }
        };
    }
    trayIcon_->addIcon(smallIcon_);
}

void PlayerApp::removeTrayIcon() {
    if (trayIcon_)
        trayIcon_->removeIcon();
}

void PlayerApp::setTrayTip(const std::string& text) {
    if (trayIcon_)
        trayIcon_->setTip(text);
    // Raise the bar in the window order without moving, sizing or activating it.
    if (bar_ && bar_->isVisible())
        bar_->raise();
}

bool PlayerApp::trayAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

ProfileStore& PlayerApp::profileStore() {
    return *iniStore_;
}

void PlayerApp::handOverToPlayer(QWidget& bar, const std::string& selection, ListType mode) {
    if (!player_)
        return;
    // A Play from outside during a session: the player window keeps the screen and
    // starts over on the new selection.
    if (mainWindow_ != player_) {
        mainWindow_ = player_;
        handScreenOver(bar, *player_);
        menuSource_ = player_;
    }
    player_->startSession(selection, mode);
}

void PlayerApp::endProgram() {
    saveSettings();
    removeTrayIcon();
    // The windows are destroyed by ExitInstance once the message loop has ended; the bar
    // is still inside its command handler here. exit(), not quit(): quit() first asks
    // every window to close, and a window that refuses (the player window stops its
    // session instead) or a message box still open would keep the program running.
    QCoreApplication::exit(0);
}

void PlayerApp::handBackToMainBar(QWidget& leaving) {
    if (!bar_)
        return;
    mainWindow_ = bar_;
    handScreenOver(leaving, *bar_);
    menuSource_ = bar_;
}

void PlayerApp::postExitToMainBar() {
    if (bar_)
        QMetaObject::invokeMethod(bar_, "command", Qt::QueuedConnection,
                                  Q_ARG(int, MainBar::ID_EXIT));
}

void PlayerApp::playCommandLine() {
    // Paths on the command line are played like a drop followed by Play, once start-up
    // has finished; paths of another kind than the first are reported and skipped.
    if (options_.paths.empty())
        return;
    const CommandLineSelection selection = selectionFromPaths(options_.paths);
    for (const std::string& message : selection.messages)
        std::fprintf(stderr, "%s\n", message.c_str());  // each line names the program
    if (bar_ && !selection.text.empty())
        bar_->startWithSelection(selection.mode, selection.text);
}

void PlayerApp::showCreateFailure() {
    QMessageBox::warning(nullptr, QString::fromUtf8(kProgramCaption),
                         QCoreApplication::translate("PlayerApp", kCreateFailText),
                         QMessageBox::Ok);
}

bool PlayerApp::handedToRunningPlayer() {
    // Decided before any window exists and before the ini file is read: only the one
    // running player ever writes it.
    const bool shared = !options_.newInstance;
    remote_ = std::make_unique<RemoteService>(*this);
    RemoteService::Claim claim = remote_->claim(shared);
    if (claim == RemoteService::Claim::Taken) {
        if (handToRunningPlayer(absoluteArguments(options_.paths)))
            return true;
        // The owner of the name did not answer: run beside it under a name of our own.
        claim = remote_->claim(false);
    }
    if (claim == RemoteService::Claim::NoBus) {
        remote_.reset();
        if (shared) {
            if (handToLocalInstance(absoluteArguments(options_.paths)))
                return true;
            localInstance_ = std::make_unique<LocalInstance>(*this);
            if (!localInstance_->listen())
                localInstance_.reset();
        }
    }
    setListener(remote_.get());
    return false;
}

void PlayerApp::nowPlayingChanged() {
    if (listener())
        listener()->nowPlayingChanged();
}

void PlayerApp::seeked(double seconds) {
    if (listener())
        listener()->seeked(seconds);
}

bool PlayerApp::sessionRuns() const {
    return player_ && mainWindow_ == player_ && player_->sequencer().inSession();
}

bool PlayerApp::remoteMayAct() const {
    return bar_ && player_ && !player_->sequencer().busy();
}

NowPlaying PlayerApp::nowPlaying() {
    if (!player_) {
        NowPlaying none;
        none.canPlay = bar_ != nullptr;
        return none;
    }
    return player_->nowPlaying();
}

double PlayerApp::positionSeconds() {
    return player_ ? player_->positionSeconds() : 0;
}

void PlayerApp::playerCommand(int id) {
    if (remoteMayAct() && sessionRuns())
        player_->command(id);
}

void PlayerApp::play() {
    if (!remoteMayAct())
        return;
    if (!sessionRuns()) {
        bar_->command(MainBar::PlayId);
        return;
    }
    // A paused song (by the user, or a repeat's wait) resumes as the menu's Resume does;
    // a wait between songs is cut short. A song that is over stays so: Next moves on.
    const PlayState state = nowPlaying().state;
    if (state == PlayState::Paused)
        player_->command(player_command::ID_PAUSE_RESUME);
    else if (state == PlayState::Stopped)
        player_->sequencer().endWaitBetweenSongs();
}

void PlayerApp::pause() {
    if (nowPlaying().state == PlayState::Playing)
        playerCommand(player_command::ID_PAUSE_RESUME);
}

void PlayerApp::playPause() {
    if (nowPlaying().state == PlayState::Playing)
        pause();
    else
        play();
}

void PlayerApp::stop() {
    playerCommand(player_command::ID_STOP_PLAYING);
}

void PlayerApp::next() {
    // Offered as the menu offers it: not on the last song of an ordered list.
    if (nowPlaying().canGoNext)
        playerCommand(player_command::ID_NEXT_SONG);
}

void PlayerApp::previous() {
    // Offered as the menu offers it: not in random play, not on the first song.
    if (nowPlaying().canGoPrevious)
        playerCommand(player_command::ID_PREV_SONG);
}

void PlayerApp::seekTo(double seconds) {
    if (remoteMayAct() && sessionRuns())
        player_->seekTo(seconds);
}

void PlayerApp::openPaths(const std::vector<std::string>& paths) {
    // Another program's paths: what could mean another file than the sender meant is
    // refused first, whatever the player is doing.
    const HandedPaths handed = checkHandedPaths(paths);
    for (const std::string& message : handed.messages)
        std::fprintf(stderr, "%s\n", message.c_str());
    if (handed.paths.empty() || !remoteMayAct())
        return;
    const CommandLineSelection selection = selectionFromPaths(handed.paths);
    for (const std::string& message : selection.messages)
        std::fprintf(stderr, "%s\n", message.c_str());
    if (selection.text.empty())
        return;
    // As the command line plays: the bar takes the selection into its history and plays
    // it; during a session at once, as the player window has the screen.
    if (sessionRuns())
        bar_->playNow(selection.mode, selection.text);
    else
        bar_->startWithSelection(selection.mode, selection.text);
}

// As the settings sheet changes them: kept in memory, written at Exit, read by the session
// at its next decision.
void PlayerApp::setLoop(LoopMode loop) {
    setLoopMode(settings_.play, loop);
    settingsChanged();
}

void PlayerApp::setShuffle(bool shuffle) {
    settings_.play.isRandom = shuffle;
    settingsChanged();
}

void PlayerApp::setVolume(double volume) {
    settings_.app.Volume = volumePercentOf(volume);
    settingsChanged();
}

void PlayerApp::settingsChanged() {
    if (player_)
        player_->sequencer().settingsChanged();
    else
        nowPlayingChanged();
}

void PlayerApp::raise() {
    if (!mainWindow_)
        return;
    mainWindow_->showNormal();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

void PlayerApp::quit() {
    // A song slow to open (a dead network mount) gives way at once; the quit itself
    // follows as soon as the open's wait has returned.
    if (bar_ && player_ && player_->sequencer().openingSong()) {
        player_->sequencer().cancelOpen();
        QTimer::singleShot(0, bar_, [this] { quit(); });
        return;
    }
    if (!remoteMayAct())
        return;
    if (sessionRuns())
        player_->command(player_command::ID_APP_EXIT);
    else
        bar_->command(MainBar::ID_EXIT);
}
