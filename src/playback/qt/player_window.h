#pragma once
// The player window: the small top-level window that has the screen while a play session
// runs. Its title carries the status, a flat "&File" button opens the file menu and the
// position slider shows the song's text and time and lets the user seek. It owns the
// playing graph, its timers, the song list's pop-up view and one PlaySession (list,
// searcher and sequencer), and turns ticks, graph events, picks and menu commands into
// calls of the play sequencer.
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>

#include "app/core/list_type.h"
#include "app/core/program_identity.h"
#include "app/widgets/menu_source.h"
#include "playback/core/now_playing.h"
#include "playback/core/player_view.h"
#include "playback/qt/save_song_list.h"
#include "songlist/core/song_probe.h"

class FlatButton;
class Player;
class PlayerHost;
class PlaySequencer;
class PlaySession;
class PositionSlider;
class QMenu;
class QTimer;
class SongList;
class SongListView;
class WindowTimers;
enum class TimerId : int;

// Command ids of the window besides the session commands of player_command.
namespace player_command {
inline constexpr int ID_FILE_BUTTON = 1;  // the "&File" button, Enter: the file menu
inline constexpr int ID_WRITE_LIST = 303;
inline constexpr int ID_SETTINGS = shared_command::ID_SETTINGS;
inline constexpr int ID_ABOUT_BOX = shared_command::ID_ABOUT;
}  // namespace player_command

class PlayerWindow : public QWidget, public PlayerView, public MenuSource {
    Q_OBJECT
  public:
    // Menu texts.
    static constexpr const char* kPauseText = QT_TRANSLATE_NOOP("PlayerWindow", "ポーズ");
    static constexpr const char* kResumeText = QT_TRANSLATE_NOOP("PlayerWindow", "再生再開");
    static constexpr const char* kOtherControlTip =
        QT_TRANSLATE_NOOP("PlayerWindow", "クリックするとメニューが出る");

    // The real window: plays through a MediaGraph, probes with the media probe.
    explicit PlayerWindow(PlayerHost& host);
    // For tests: another player and probe factory (the player is owned by the window).
    PlayerWindow(PlayerHost& host, std::unique_ptr<Player> player, SongProbeFactory probes);
    ~PlayerWindow() override;

    // Starts a play session over a selection (the main bar's Play).
    int startSession(const std::string& selection, ListType kind);
    // Carries out a menu command; false for an id the window doesn't know.
    bool command(int id);
    // What is playing now and where in the song, for the desktop's media controls.
    NowPlaying nowPlaying();
    double positionSeconds();
    // Seeks like the slider does, to `seconds` into the current song (kept within it).
    void seekTo(double seconds);
    // Stops the search and waits at most `limit` for its thread; false when it is still
    // running then (stuck in a system call: the window must not be destroyed).
    bool endSearch(std::chrono::milliseconds limit);

    // MenuSource: the session's commands (also the tray menu's while this window has the
    // screen). Each action carries its id in data() and delivers it to this window.
    void fillMenu(QMenu& menu) override;
    // The file menu: write the list, the session's commands, exit the application.
    void fillFileMenu(QMenu& menu);
    // The right-click menu: the session's commands and the about box.
    void fillContextMenu(QMenu& menu);
    // Where the file menu opens: the file button's lower left corner, on the screen.
    QPoint fileMenuAnchor() const;

    // The slider's tooltip: its text, and " # " and the current song's path during a song.
    QString sliderToolTip() const;
    // Handles a tick of one of the three timers (as the timer itself does).
    void onTimer(TimerId id);

    // Message boxes and the save dialog, replaceable for tests.
    void setSaveUi(SongListSaveUi ui) { saveUi_ = std::move(ui); }
    const SongListSaveUi& saveUi() const { return saveUi_; }

    // Parts, for tests and the screenshots.
    PlaySequencer& sequencer();
    SongList& songList();
    SongListView& songListView() { return *listView_; }
    PositionSlider& slider() { return *slider_; }
    FlatButton& fileButton() { return *fileButton_; }
    WindowTimers& timers() { return *timers_; }

    // PlayerView.
    void setStatusText(const std::string& text) override;
    void setSliderText(const std::string& text) override;
    void resetSlider() override;
    void refreshItemCount(int count) override;
    void showMessage(const std::string& text) override;
    void setTrayTip(const std::string& text) override;
    void iconify() override;
    void redrawSlider() override;
    void showSongList(int index) override;
    void soundExclamation() override;
    void postPlayIndex(int index) override;
    void handBackToMainBar() override;
    void postExitToMainBar() override;

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void openFileMenu();
    void onPositionTick();
    void onSeekRequested(int position);
    void syncSliderTexts();
    // Left/Right: `seconds` from where the song stands, kept within it.
    void seekBy(double seconds);
    // Up/Down and the wheel: the program's volume changes and shows a moment on the
    // slider, where the song's text is.
    void changeVolumeBy(int percent);
    void wheelTurned(QWheelEvent& event);
    int saveSongList();
    bool trayInUse() const;
    void addCommand(QMenu& menu, int id, const QString& text, bool enabled = true);

    PlayerHost& host_;
    // The graph outlives the session that plays through it.
    std::unique_ptr<Player> player_;
    WindowTimers* timers_ = nullptr;  // child QObject
    std::unique_ptr<PlaySession> session_;
    SongListSaveUi saveUi_;
    bool destroying_ = false;

    FlatButton* fileButton_ = nullptr;
    PositionSlider* slider_ = nullptr;
    SongListView* listView_ = nullptr;  // owned window, a child in Qt's object tree
    QTimer* volumeShown_ = nullptr;     // child; runs while the slider shows the volume
    QString songText_;                  // the slider's text under the volume
    int wheelRest_ = 0;                 // a wheel's turn short of one step
};
