#pragma once
// The logic of a play session: searching, choosing and playing songs one after another by
// the play options, the user's commands on the session, and its end. It runs entirely on
// the user-interface thread, driven by the player window's timers, messages and commands,
// and talks to the graph, the timers and the window through narrow interfaces.
#include <chrono>
#include <optional>
#include <string>

#include "app/core/list_type.h"
#include "playback/core/media_remote.h"
#include "playback/core/now_playing.h"
#include "playback/core/owner_loop.h"
#include "playback/core/player.h"
#include "playback/core/player_view.h"
#include "playback/core/rand_generator.h"
#include "playback/core/sequencer_timers.h"
#include "playback/core/session_moves.h"
#include "songlist/core/thread_task.h"

struct AppSettings;
class SongList;
class SongSearcher;

// The slider's text while the search has found nothing to play yet, and while it goes on
// after the list ran out. The player window shows them in the user's language.
inline constexpr const char* kSearchingText = "検索中...";
inline constexpr const char* kStillSearchingText = "検索中.....";

// Command ids of the player window's menus that act on the session.
namespace player_command {
inline constexpr int ID_PREV_SONG = 103;
inline constexpr int ID_NEXT_SONG = 104;
inline constexpr int ID_RESTART_SONG = 105;
inline constexpr int ID_REMOVE_SONG = 106;
inline constexpr int ID_STOP_AFTER_SONG = 107;
inline constexpr int ID_CHOOSE_SONG = 108;
inline constexpr int ID_PAUSE_RESUME = 201;
inline constexpr int ID_STOP_PLAYING = 2;  // the dialog's cancel id: Escape, close button
inline constexpr int ID_APP_EXIT = 57665;  // the platform's standard exit id
}  // namespace player_command

// Index for a random draw r (0..32767) over n > 0 songs. Large lists take r modulo n;
// lists of up to ten songs take r itself when it fits, else r / 10, reduced modulo n.
int randomIndexFor(int draw, int n);

// "%02d:%02d" of whole seconds (minutes not limited to two digits). NaN, negative and
// huge values count as 0.
std::string formatClock(double seconds);
// Slider position (0..100) for `position` seconds into a song of `duration` seconds. An
// unknown (zero or negative) duration leaves the slider at its start.
int sliderPositionFor(double position, double duration);

class PlaySequencer {
  public:
    // Results.
    static constexpr int kNoFurtherSong = -1;  // in order or playCnt: nothing left
    static constexpr int kNoRandomSong = -2;   // random: exhausted, empty or no other song
    // Random while the search runs and has listed no song but the current one: the
    // advance poll draws once it lists another.
    static constexpr int kAwaitingSong = -3;
    static constexpr int kOpenError = -11;  // the song can't be opened
    static constexpr int kIndexOutsideList = -200;

    // All references must outlive the sequencer. The settings are read at the moment each
    // rule needs them, so changes during a session apply from the next decision on.
    // Other threads' work (the graph's notifications, SearchDone) reaches the sequencer
    // through `loop`; while it waits for another thread it serves the loop and `idle`
    // (the owner's other events; may be empty).
    PlaySequencer(Player& player, SongSearcher& searcher, SongList& list, SequencerTimers& timers,
                  PlayerView& view, const AppSettings& settings, RandGenerator& random,
                  OwnerLoop& loop, std::function<void()> idle = {});
    // Stops and waits for a running search (see shutdown).
    virtual ~PlaySequencer();
    PlaySequencer(const PlaySequencer&) = delete;
    PlaySequencer& operator=(const PlaySequencer&) = delete;

    // Starts a session over `selection`: 0, the result of the first play when the list is
    // kept without a search, or the system error code when the search thread can't start.
    int startSession(const std::string& selection, ListType kind);
    // Index to play next (counted toward playCnt), or kNoFurtherSong, kNoRandomSong or
    // kAwaitingSong.
    int chooseNext();
    // Plays entry i; kIndexOutsideList for an index outside the list (nothing changes).
    int playIndex(int i);
    // Opens and runs `path`: 0 when it runs, kOpenError, or the graph's Run result.
    int playSong(const std::string& path);
    // How long before the running song's end (its demo stop, else its length) the next
    // song is chosen and prepared to follow it without a gap.
    static constexpr double kPrepareAheadSeconds = 5.0;
    void endSession();

    // Handlers the player window calls.
    void onAdvanceTimer();
    void onResumeTimer();
    // PositionTimer tick: updates the elapsed time text and returns the slider position.
    int onPositionTimer();
    // GraphNotify: takes one graph event.
    void onSongEnded();
    // PlayIndex message: plays that index; ignored outside a session.
    void onPlayIndex(int index);
    // The search has listed its first song (a queued call from the search thread): while
    // an in-order session still waits for its first song, the advance step is taken now
    // instead of at the next poll. Ignored otherwise, so a late or repeated call changes
    // nothing. A random session draws its first song over what the first poll finds, or
    // at the search's end when that comes first, never over a list of one by default.
    void onFirstSongListed();
    // SearchDone, handled while the search thread waits: refreshes the list view's count;
    // a random session still waiting for its first song draws it now, over the whole list.
    void onSearchDone(int result);
    // Seeks to the slider position (0..100) the user dragged or clicked to.
    void seekToSlider(int sliderPosition);
    // Seeks to `seconds` into the current song, kept within the song; false when no song
    // of known length is open.
    bool seekTo(double seconds);
    // Session commands (player_command ids). False for an id that isn't one of them.
    bool onCommand(int id);

    // Stops a running search and waits for its thread, at most `limit`, serving the loop
    // and the owner's events so the search thread's synchronous SearchDone is handled, then
    // detaches the notifications. False when the thread is still running after `limit`
    // (nothing is detached then). The player window calls it before it destroys the
    // searcher and the list; the destructor calls it again as a safety net (then at no
    // cost).
    bool shutdown(std::chrono::milliseconds limit = ThreadTask::kNoLimit);

    // What the outside sees of the session, and where in the song it stands (0 while
    // nothing plays; never past the song's length). Every change the sequencer makes is
    // announced to the listener (at most one; null removes it): nowPlayingChanged, and
    // seeked when the position jumps (a seek, a restart, a repeat).
    NowPlaying nowPlaying();
    double positionSeconds();
    SessionPlace place() const;
    void setListener(MediaRemote::Listener* listener) { listener_ = listener; }
    // The settings changed from outside (the desktop, the settings sheet): the open song
    // takes the program's volume at once, a prepared song is chosen again, since what
    // follows may differ now, and the change is announced.
    void settingsChanged();
    // Only the program's volume changed (the keys, the wheel, the desktop): the open song
    // takes it at once and the change is announced; a prepared song stays.
    void volumeChanged();
    // A wait between songs (waitTime) is cut short: the next song starts now. False when
    // no such wait runs.
    bool endWaitBetweenSongs();

    // State read by the window (menus, slider drawing, tooltips).
    int currentIndex() const { return currentIndex_; }
    int playedCount() const { return playedCount_; }
    int repeatCount() const { return repeatCount_; }
    bool stopAfterCurrent() const { return stopAfterCurrent_; }
    bool inSession() const { return inSession_; }
    // While the user-interface thread waits for the search thread to end: commands from
    // outside the window must wait too.
    bool waitingForSearch() const { return waitingForSearch_; }
    // While a song's Open waits for its file (serving the window's events meanwhile).
    bool openingSong() const { return openingSong_; }
    // Either wait: commands from outside the window are not taken then.
    bool busy() const { return waitingForSearch_ || openingSong_; }
    // Gives up on the song being opened (for the program's exit), without a message.
    void cancelOpen() { openCancelled_ = openingSong_; }
    // The song opened last in this session (empty before the first) and how many songs
    // the sequencer has opened in its life, that one included.
    const std::string& songPath() const { return songPath_; }
    int songNumber() const { return songNumber_; }
    const std::string& lastSelection() const { return lastSelection_; }
    const std::string& displayTitle() const { return displayTitle_; }
    double durationSeconds() const { return durationSeconds_; }
    const std::string& totalTimeText() const { return totalTimeText_; }
    const std::string& elapsedTimeText() const { return elapsedTimeText_; }

  protected:
    // Starts the search thread; false when it can't be created.
    virtual bool startSearchThread();

  private:
    // The next song chosen ahead while the graph prepares it: what chooseNext gave and the
    // state it left, and the state before it, which holds until the song's end commits
    // the choice (or a command drops it).
    struct ChoiceState {
        int playedCount = 0;
        int currentIndex = -1;
        bool drawPending = false;
        RandGenerator random{0};
    };
    struct PreparedChoice {
        int index = -1;
        std::string path;  // the song prepared, as the list gave it then
        ChoiceState before;
        ChoiceState after;
    };
    ChoiceState choiceState() const;
    void restoreChoiceState(const ChoiceState& state);
    // Near the running song's end, when it would go straight on to the next (no wait, no
    // repeat due, no stop after it): chooses the next song and has the graph prepare it.
    void prepareNextSong();
    // Drops the prepared song and its choice: the session stands as if it was never made.
    void dropPreparedSong();
    // The prepared song followed the one that ended: its choice is committed.
    void takeJoinedSong();
    // What follows a song's open (or its join): its texts, times, demo stop and run.
    int startOpenedSong(const std::string& path, bool joined);
    int chooseRandom();
    // Draws an index other than the current one; kAwaitingSong (the poll started) while
    // the search runs without having listed another, kNoRandomSong once it has ended.
    int drawRandom();
    int chooseInOrder();
    // The advance step while the session waits for its first song.
    void advanceToFirstSong();
    // Plays what an advance tick found and ends the session when it can't be played.
    void playFromAdvance(int index);
    // The search still runs and may list more songs: its SearchDone has not come yet.
    bool searchListing() const;
    bool stopSearchAndWait(std::chrono::milliseconds limit = ThreadTask::kNoLimit);
    // Serves the loop and the owner's other events once.
    void pump();
    // Kills the advance and resume timers and forgets every wait they stood for.
    void endWaits();
    void showPlayingStatus();
    PlayState playState() const;
    void announceChange();
    void announceSeek(double seconds);
    // Ends the session; true when it has posted Exit to the main bar.
    bool finishSession();

    Player& player_;
    SongSearcher& searcher_;
    SongList& list_;
    SequencerTimers& timers_;
    PlayerView& view_;
    const AppSettings& settings_;
    RandGenerator& random_;
    OwnerLoop& loop_;
    std::function<void()> idle_;

    int currentIndex_ = -1;
    int playedCount_ = 0;
    int repeatCount_ = 0;
    bool stopAfterCurrent_ = false;
    // Between startSession and endSession; late graph events and PlayIndex messages that
    // arrive after the end are dropped instead of starting a song in a hidden window.
    bool inSession_ = false;
    // While the user-interface thread waits for the search thread to end.
    bool waitingForSearch_ = false;
    bool openingSong_ = false;
    bool openCancelled_ = false;
    // From the start of a session's search until a song is first played or the session
    // ends: the advance poll is waiting for the session's first song.
    bool awaitingFirstSong_ = false;
    // A random choice waits for the search to list a song other than the current one.
    bool drawPending_ = false;
    // This session's search has sent SearchDone: it lists nothing more, though its thread
    // is still ending.
    bool searchListedAll_ = false;
    // The song has ended and nothing plays: between songs, waiting for the search, or at
    // rest after the last one. Cleared when a song starts again.
    bool songOver_ = false;
    // A repeat waits on ResumeTimer, the song paused at its start.
    bool repeatWaiting_ = false;
    // AdvanceTimer runs with the waitTime period before the next song.
    bool betweenSongs_ = false;
    std::optional<PreparedChoice> prepared_;
    // The graph could not prepare a song to follow this one: no second try for it.
    bool prepareRefused_ = false;
    MediaRemote::Listener* listener_ = nullptr;
    std::string lastSelection_;
    std::string songPath_;
    NowPlaying song_;  // the open song's texts and details, read once when it opens
    int songNumber_ = 0;
    std::string displayTitle_;
    double durationSeconds_ = 0;
    std::string totalTimeText_;
    std::string elapsedTimeText_;
};
