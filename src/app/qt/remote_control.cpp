#include "app/qt/remote_control.h"

#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <utility>

#include "app/core/app_settings.h"
#include "app/qt/main_bar.h"
#include "playback/core/play_modes.h"
#include "playback/core/play_sequencer.h"
#include "playback/qt/player_window.h"
#include "songlist/core/handed_paths.h"
#include "songlist/core/path_selection.h"

RemoteControl::RemoteControl(AppSettings& settings, std::function<QWidget*()> mainWindow)
    : settings_(settings), mainWindow_(std::move(mainWindow)) {}

void RemoteControl::attach(MainBar& bar, PlayerWindow& player) {
    bar_ = &bar;
    player_ = &player;
}

void RemoteControl::detach() {
    bar_ = nullptr;
    player_ = nullptr;
}

void RemoteControl::tellNowPlayingChanged() {
    if (listener())
        listener()->nowPlayingChanged();
}

void RemoteControl::tellSeeked(double seconds) {
    if (listener())
        listener()->seeked(seconds);
}

bool RemoteControl::sessionRuns() const {
    return player_ && mainWindow_() == player_ && player_->sequencer().inSession();
}

bool RemoteControl::mayAct() const {
    return player_ && !player_->sequencer().busy();
}

NowPlaying RemoteControl::nowPlaying() {
    // Without windows nothing plays and nothing can be played.
    return player_ ? player_->nowPlaying() : NowPlaying{};
}

double RemoteControl::positionSeconds() {
    return player_ ? player_->positionSeconds() : 0;
}

void RemoteControl::playerCommand(int id) {
    if (mayAct() && sessionRuns())
        player_->command(id);
}

void RemoteControl::play() {
    if (!mayAct())
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

void RemoteControl::pause() {
    if (nowPlaying().state == PlayState::Playing)
        playerCommand(player_command::ID_PAUSE_RESUME);
}

void RemoteControl::playPause() {
    if (nowPlaying().state == PlayState::Playing)
        pause();
    else
        play();
}

void RemoteControl::stop() {
    playerCommand(player_command::ID_STOP_PLAYING);
}

void RemoteControl::next() {
    // Offered as the menu offers it: not on the last song of an ordered list.
    if (nowPlaying().canGoNext)
        playerCommand(player_command::ID_NEXT_SONG);
}

void RemoteControl::previous() {
    // Offered as the menu offers it: not in random play, not on the first song.
    if (nowPlaying().canGoPrevious)
        playerCommand(player_command::ID_PREV_SONG);
}

void RemoteControl::seekTo(double seconds) {
    if (mayAct() && sessionRuns())
        player_->seekTo(seconds);
}

void RemoteControl::openPaths(const std::vector<std::string>& paths) {
    // Another program's paths: what could mean another file than the sender meant is
    // refused first, whatever the player is doing.
    const HandedPaths handed = checkHandedPaths(paths);
    for (const std::string& message : handed.messages)
        std::fprintf(stderr, "%s\n", message.c_str());
    if (handed.paths.empty() || !mayAct())
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
void RemoteControl::setLoop(LoopMode loop) {
    setLoopMode(settings_.play, loop);
    settingsChanged();
}

void RemoteControl::setShuffle(bool shuffle) {
    settings_.play.isRandom = shuffle;
    settingsChanged();
}

void RemoteControl::setVolume(double volume) {
    settings_.app.Volume = volumePercentOf(volume);
    if (player_)
        player_->sequencer().volumeChanged();
    else
        tellNowPlayingChanged();
}

void RemoteControl::settingsChanged() {
    if (player_)
        player_->sequencer().settingsChanged();
    else
        tellNowPlayingChanged();
}

void RemoteControl::raise() {
    QWidget* window = mainWindow_();
    if (!window)
        return;
    window->showNormal();
    window->raise();
    window->activateWindow();
}

void RemoteControl::quit() {
    // A song slow to open (a dead network mount) gives way at once; the quit itself
    // follows as soon as the open's wait has returned.
    if (player_ && player_->sequencer().openingSong()) {
        player_->sequencer().cancelOpen();
        QTimer::singleShot(0, bar_, [this] { quit(); });
        return;
    }
    if (!mayAct())
        return;
    if (sessionRuns())
        player_->command(player_command::ID_APP_EXIT);
    else
        bar_->command(MainBar::ID_EXIT);
}
