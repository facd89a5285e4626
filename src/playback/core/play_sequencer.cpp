#include "playback/core/play_sequencer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "app/core/app_settings.h"
#include "playback/core/play_modes.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"

namespace {

constexpr const char* kTitleAtStart = "Player";
constexpr const char* kIdleTrayTip = "tavik vorn";

// Whole seconds of a time in seconds; NaN, negative and out-of-range values give 0 so the
// conversion is always defined.
int wholeSeconds(double seconds) {
    if (!(seconds >= 0) || seconds >= 2147483647.0)
        return 0;
    return static_cast<int>(seconds);
}

std::string playingText(const std::string& title) {
    return "<" + title + "> Playing ..";
}
std::string pausingText(const std::string& title) {
    return "<" + title + "> Pausing ..";
}

}  // namespace

int randomIndexFor(int draw, int n) {
    if (draw < n)
        return draw;
    if (n > 10)
        return draw % n;
    const int tenth = draw / 10;
    return tenth < n ? tenth : tenth % n;
}

std::string formatClock(double seconds) {
    const int s = wholeSeconds(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", s / 60, s % 60);
    return text;
}

int sliderPositionFor(double position, double duration) {
    if (!(duration > 0))
        return 0;
    const double value = position * 100.0 / duration;
    // The slider keeps out-of-range positions at its ends.
    if (!(value >= 0))
        return 0;
    if (value >= 100)
        return 100;
    return static_cast<int>(value);
}

PlaySequencer::PlaySequencer(Player& player, SongSearcher& searcher, SongList& list,
                             SequencerTimers& timers, PlayerView& view, const AppSettings& settings,
                             RandGenerator& random, OwnerLoop& loop, std::function<void()> idle)
    : player_(player),
      searcher_(searcher),
      list_(list),
      timers_(timers),
      view_(view),
      settings_(settings),
      random_(random),
      loop_(loop),
      idle_(std::move(idle)) {
    // A song slow to open (a network mount that stopped answering) must not freeze the
    // window: it keeps serving its events while Open waits, as while a search stops.
    player_.setOpenWait([this] {
        pump();
        return !openCancelled_;
    });
}

void PlaySequencer::pump() {
    loop_.serve();
    if (idle_)
        idle_();
}

PlaySequencer::~PlaySequencer() {
    shutdown();
}

bool PlaySequencer::startSearchThread() {
    return searcher_.start();
}

bool PlaySequencer::stopSearchAndWait(std::chrono::milliseconds limit) {
    searcher_.requestStop();
    waitingForSearch_ = true;
    const bool ended = searcher_.waitForEnd([this] { pump(); }, limit);
    waitingForSearch_ = false;
    return ended;
}

bool PlaySequencer::shutdown(std::chrono::milliseconds limit) {
    // A thread that is still running may yet read its notification: leave it in place.
    if (!stopSearchAndWait(limit))
        return false;
    searcher_.setNotify({});
    player_.SetNotifyWindow({});
    return true;
}

int PlaySequencer::startSession(const std::string& selection, ListType kind) {
    // The window keeps serving its events while it waits below; a second start from one
    // of them would rewrite the searcher under the first.
    if (busy())
        return 0;
    // The previous session's search was asked to stop when that session ended; it still
    // finishes the file it probes. Wait for it here, before the list is emptied and the
    // searcher rewritten, so no two searches ever overlap.
    stopSearchAndWait();
    // A wait of the previous session (a repeat's resume, the pause between songs) must not
    // restart or advance its song inside this one, nor its prepared song follow it.
    endWaits();
    dropPreparedSong();
    songOver_ = false;
    inSession_ = true;

    playedCount_ = 0;
    stopAfterCurrent_ = false;
    if (settings_.play.isStartAndIcon)
        view_.iconify();

    view_.resetSlider();
    durationSeconds_ = 0;
    totalTimeText_.clear();
    elapsedTimeText_.clear();
    view_.setStatusText(kTitleAtStart);
    currentIndex_ = -1;
    songPath_.clear();
    view_.setSliderText(kSearchingText);

    if (settings_.other.slistAddType == 0) {
        list_.clear();
        view_.refreshItemCount(0);
    }
    timers_.startTimer(TimerId::PositionTimer, kPositionPeriodMs);

    if (settings_.other.slistAddType == 1 && selection == lastSelection_) {
        const int result = playIndex(chooseNext());
        announceChange();
        return result;
    }

    lastSelection_ = selection;
    searcher_.selection = selection;
    searcher_.kind = kind;
    searcher_.setPatterns(settings_.other.searchExtent);
    searcher_.setNotify(
        [this](int result) { loop_.send([this, result] { onSearchDone(result); }); });
    searchListedAll_ = false;

    timers_.startTimer(TimerId::AdvanceTimer, kAdvancePollMs);
    awaitingFirstSong_ = true;

    if (!startSearchThread()) {
        endSession();
        return EAGAIN;  // what the system reports when it can't create a thread
    }
    announceChange();
    return 0;
}

int PlaySequencer::chooseNext() {
    ++playedCount_;
    const PlayOptions& play = settings_.play;
    if (!play.isEndless && play.playCnt != 0 && playedCount_ > play.playCnt) {
        return kNoFurtherSong;
    }
    return play.isRandom ? chooseRandom() : chooseInOrder();
}

int PlaySequencer::chooseRandom() {
    if (!searchListing() && !settings_.play.isEndless && playedCount_ >= list_.count()) {
        return kNoRandomSong;
    }
    return drawRandom();
}

int PlaySequencer::drawRandom() {
    for (int n = list_.count();;) {
        // The current song is never chosen twice in a row. With no other entry to choose
        // (an empty list, or one entry that is the current one) drawing on would spin the
        // user-interface thread, which the search thread may be waiting on: while the
        // search runs the advance poll waits for another song, as in-order play waits at
        // a position not yet filled; after it there is no song.
        if (n <= 0 || (n == 1 && currentIndex_ == 0)) {
            if (!searchListing()) {
                drawPending_ = false;
                return kNoRandomSong;
            }
            if (!drawPending_)
                timers_.startTimer(TimerId::AdvanceTimer, kAdvancePollMs);
            drawPending_ = true;
            return kAwaitingSong;
        }
        const int index = randomIndexFor(random_.draw(), n);
        if (index != currentIndex_) {
            drawPending_ = false;
            currentIndex_ = index;
            return index;
        }
        if (searchListing())
            n = list_.count();
    }
}

bool PlaySequencer::searchListing() const {
    return searcher_.running() && !searchListedAll_;
}

int PlaySequencer::chooseInOrder() {
    ++currentIndex_;
    if (currentIndex_ < list_.count())
        return currentIndex_;
    if (searchListing()) {
        // A position the search has not filled yet: the timer plays it once it is there.
        timers_.startTimer(TimerId::AdvanceTimer, kAdvancePollMs);
        return currentIndex_;
    }
    currentIndex_ = settings_.play.isEndless ? 0 : kNoFurtherSong;
    return currentIndex_;
}

void PlaySequencer::endWaits() {
    timers_.killTimer(TimerId::AdvanceTimer);
    timers_.killTimer(TimerId::ResumeTimer);
    awaitingFirstSong_ = false;
    drawPending_ = false;
    repeatWaiting_ = false;
    betweenSongs_ = false;
}

int PlaySequencer::playIndex(int i) {
    if (i < 0 || i >= list_.count())
        return kIndexOutsideList;
    // A song chosen directly supersedes a pending wait for a song, between songs or before
    // a repeat; otherwise that timer's tick would restart or resume the song later.
    endWaits();
    dropPreparedSong();
    currentIndex_ = i;
    return playSong(list_.pathAt(i));
}

int PlaySequencer::playSong(const std::string& path) {
    const PlayOptions& play = settings_.play;
    const OtherOptions& other = settings_.other;
    player_.setReportPath(other.filter);
    player_.setEffects(play.useEffect ? play.effectCatalogue : nullptr);
    player_.setVolume(settings_.app.Volume / 100.0);
    repeatCount_ = 0;

    openingSong_ = true;
    openCancelled_ = false;
    const int opened = player_.Open(path, true);
    openingSong_ = false;
    if (opened < 0) {
        // Given up on for the program's exit: nobody is left to read a message.
        if (!openCancelled_)
            view_.showMessage("(" + path + ") open error. " + player_.GetErrorText(256));
        announceChange();
        return kOpenError;
    }
    return startOpenedSong(path, false);
}

int PlaySequencer::startOpenedSong(const std::string& path, bool joined) {
    const PlayOptions& play = settings_.play;
    const OtherOptions& other = settings_.other;
    songPath_ = path;
    ++songNumber_;
    songOver_ = false;
    prepareRefused_ = false;
    song_ = {};
    player_.GetContentText(Author, song_.author);
    player_.GetContentText(Title, song_.title);
    SongDetails details = player_.GetSongDetails();
    song_.album = std::move(details.album);
    song_.trackNumber = details.trackNumber;
    song_.coverPath = std::move(details.coverPath);

    // A file with some tags but not all offers empty texts for the missing ones: an empty
    // text counts as missing, so the window never shows a blank title or slider text.
    std::string text;
    displayTitle_ = player_.GetContentText(Author, text) >= 0 && !text.empty() ? text : path;
    text.clear();
    if (player_.GetContentText(Title, text) >= 0 && !text.empty())
        displayTitle_ += " - " + text;
    text.clear();
    const bool described = player_.GetContentText(Description, text) >= 0 && !text.empty();
    view_.setSliderText(described ? text : displayTitle_);

    durationSeconds_ = player_.GetDuration();
    const int total = wholeSeconds(durationSeconds_);
    char totalText[32];
    std::snprintf(totalText, sizeof totalText, "/%02d:%02d", total / 60, total % 60);
    totalTimeText_ = totalText;
    elapsedTimeText_ = "00:00";

    // A joined song came with its demo stop, into a graph that runs and notifies already.
    int result = 0;
    if (!joined) {
        player_.SetNotifyWindow([&loop = loop_, this] { loop.post([this] { onSongEnded(); }); });
        if (demoCutsSong(play.PlayTime, durationSeconds_))
            player_.SetStopTime(play.PlayTime);
        result = player_.Run(path.c_str());
    }
    if (result == 0) {
        const std::string status = playingText(displayTitle_);
        view_.setStatusText(status);
        if (!other.isnoTaskTray)
            view_.setTrayTip(status);
    }
    view_.resetSlider();
    announceChange();
    if (result == 0)
        prepareNextSong();
    return result;
}

PlaySequencer::ChoiceState PlaySequencer::choiceState() const {
    return ChoiceState{playedCount_, currentIndex_, drawPending_, random_};
}

void PlaySequencer::restoreChoiceState(const ChoiceState& state) {
    playedCount_ = state.playedCount;
    currentIndex_ = state.currentIndex;
    drawPending_ = state.drawPending;
    random_ = state.random;
}

void PlaySequencer::prepareNextSong() {
    const PlayOptions& play = settings_.play;
    const bool repeatDue = play.isRepeat && (play.repeatCnt == 0 || repeatCount_ < play.repeatCnt);
    if (prepared_ || prepareRefused_ || !inSession_ || openingSong_ || stopAfterCurrent_ ||
        repeatDue || play.waitTime > 0 || playState() != PlayState::Playing ||
        !(durationSeconds_ > 0))
        return;
    const double end =
        demoCutsSong(play.PlayTime, durationSeconds_) ? play.PlayTime : durationSeconds_;
    if (end - player_.GetCurrentPosition() > kPrepareAheadSeconds)
        return;
    // The choice is the one the song's end would make; the session shows the running
    // song until then.
    PreparedChoice choice;
    choice.before = choiceState();
    const int next = chooseNext();
    choice.after = choiceState();
    restoreChoiceState(choice.before);
    if (next < 0 || next >= list_.count()) {
        // Waiting for the search: the end decides, as it always has.
        timers_.killTimer(TimerId::AdvanceTimer);
        return;
    }
    choice.index = next;
    choice.path = list_.pathAt(next);
    player_.setReportPath(settings_.other.filter);
    player_.setEffects(play.useEffect ? play.effectCatalogue : nullptr);
    if (!player_.prepareNext(choice.path, play.PlayTime)) {
        prepareRefused_ = true;
        return;
    }
    prepared_ = choice;
}

void PlaySequencer::dropPreparedSong() {
    if (!prepared_)
        return;
    player_.dropNext();
    restoreChoiceState(prepared_->before);
    prepared_.reset();
}

void PlaySequencer::takeJoinedSong() {
    const PreparedChoice choice = *prepared_;
    prepared_.reset();
    restoreChoiceState(choice.after);
    repeatCount_ = 0;
    startOpenedSong(choice.path, true);
}

void PlaySequencer::onAdvanceTimer() {
    // The timer goes on: a later tick decides once the open has returned.
    if (openingSong_)
        return;
    // A random choice waiting for the search draws as soon as another song is listed; the
    // song it was for is counted already.
    const int drawn = drawPending_ ? drawRandom() : kIndexOutsideList;
    betweenSongs_ = false;
    if (drawn >= 0) {
        playFromAdvance(drawn);
        return;
    }
    const int n = list_.count();
    if (drawn == kIndexOutsideList && currentIndex_ == -1 && n > 0) {
        playFromAdvance(chooseNext());
        return;
    }
    if (drawn == kIndexOutsideList && currentIndex_ >= 0 && currentIndex_ < n) {
        playFromAdvance(currentIndex_);
        return;
    }
    if (searchListing()) {
        view_.setSliderText(kStillSearchingText);
        announceChange();
        return;
    }
    // The search has ended and left nothing (more) to play.
    timers_.killTimer(TimerId::AdvanceTimer);
    view_.soundExclamation();
    endSession();
}

void PlaySequencer::playFromAdvance(int index) {
    timers_.killTimer(TimerId::AdvanceTimer);
    const int result = playIndex(index);
    view_.refreshItemCount(list_.count());
    if (result < 0)
        endSession();
}

void PlaySequencer::onFirstSongListed() {
    if (!settings_.play.isRandom)
        advanceToFirstSong();
}

void PlaySequencer::advanceToFirstSong() {
    // While the window waits for a search to end it serves queued calls; the session is
    // being taken down or restarted then, and its own poll decides.
    if (!inSession_ || busy() || !awaitingFirstSong_ || currentIndex_ != -1)
        return;
    // A call from an earlier search can arrive after the list was emptied for this one.
    if (list_.count() == 0)
        return;
    onAdvanceTimer();
}

void PlaySequencer::onResumeTimer() {
    repeatWaiting_ = false;
    player_.Run(nullptr);
    timers_.killTimer(TimerId::ResumeTimer);
    announceChange();
}

void PlaySequencer::settingsChanged() {
    // What follows the running song may differ now (order, waits, repeats, effects): the
    // next tick prepares it again.
    dropPreparedSong();
    prepareRefused_ = false;
    volumeChanged();
}

void PlaySequencer::volumeChanged() {
    player_.setVolume(settings_.app.Volume / 100.0);
    announceChange();
}

bool PlaySequencer::endWaitBetweenSongs() {
    if (!inSession_ || !betweenSongs_)
        return false;
    onAdvanceTimer();
    return true;
}

int PlaySequencer::onPositionTimer() {
    prepareNextSong();
    const double position = player_.GetCurrentPosition();
    elapsedTimeText_ = formatClock(position);
    // The list grows while the search runs, which may offer a next song.
    announceChange();
    return sliderPositionFor(position, durationSeconds_);
}

void PlaySequencer::onSongEnded() {
    // The song being opened has no notification yet; the one before it is gone.
    if (openingSong_)
        return;
    const int event = player_.PollEvent();
    if (!endsTheSong(event) || !inSession_)
        return;
    if (prepared_ && player_.nextJoined() && !stopAfterCurrent_) {
        takeJoinedSong();
        return;
    }
    // The prepared song did not follow (its file failed, or it came too late): the end
    // goes on as it always has, and chooses the same song again.
    dropPreparedSong();

    if (stopAfterCurrent_) {
        endSession();
        stopAfterCurrent_ = false;
        return;
    }

    const PlayOptions& play = settings_.play;
    if (play.isRepeat && (play.repeatCnt == 0 || repeatCount_ < play.repeatCnt)) {
        player_.Pause();
        player_.Seek(0, true);
        if (play.waitTime > 0) {
            timers_.startTimer(TimerId::ResumeTimer, periodForSeconds(play.waitTime));
            repeatWaiting_ = true;
        } else {
            player_.Run(nullptr);
        }
        ++repeatCount_;
        announceSeek(0);
        announceChange();
        return;
    }

    songOver_ = true;
    if (currentIndex_ >= 0) {
        const int next = chooseNext();
        if (next >= 0 || next == kAwaitingSong) {
            if (play.waitTime > 0) {
                // The tick plays currentIndex, which chooseNext has set, or draws the
                // random choice that waits for the search.
                timers_.startTimer(TimerId::AdvanceTimer, periodForSeconds(play.waitTime));
                betweenSongs_ = true;
            } else if (next >= 0) {
                view_.postPlayIndex(next);
            }
            announceChange();
            return;
        }
    }
    endSession();
}

void PlaySequencer::onPlayIndex(int index) {
    if (inSession_ && !openingSong_)
        playIndex(index);
}

void PlaySequencer::onSearchDone(int /*result*/) {
    view_.refreshItemCount(list_.count());
    // Only a search this session started lists for it; one it waits for is the last one's.
    if (!inSession_ || waitingForSearch_)
        return;
    searchListedAll_ = true;
    if (settings_.play.isRandom)
        advanceToFirstSong();
    announceChange();
}

void PlaySequencer::seekToSlider(int sliderPosition) {
    const double seconds = sliderPosition * durationSeconds_ * 0.01;
    player_.Seek(seconds, true);
    announceSeek(seconds);
}

bool PlaySequencer::seekTo(double seconds) {
    if (openingSong_ || songPath_.empty() || !(durationSeconds_ > 0))
        return false;
    const double target = !(seconds > 0) ? 0 : std::min(seconds, durationSeconds_);
    player_.Seek(target, true);
    announceSeek(target);
    return true;
}

void PlaySequencer::endSession() {
    finishSession();
}

bool PlaySequencer::finishSession() {
    dropPreparedSong();
    searcher_.requestStop();
    player_.Stop();
    timers_.killTimer(TimerId::PositionTimer);
    endWaits();
    if (!settings_.other.isnoTaskTray)
        view_.setTrayTip(kIdleTrayTip);
    view_.handBackToMainBar();
    inSession_ = false;
    announceChange();
    if (settings_.other.isEndAndPlay) {
        view_.postExitToMainBar();
        return true;
    }
    return false;
}

PlayState PlaySequencer::playState() const {
    if (!inSession_ || songPath_.empty() || songOver_)
        return PlayState::Stopped;
    if (repeatWaiting_)
        return PlayState::Paused;
    const bool running = player_.CanPause() && !player_.CanRun();
    const bool paused = player_.CanRun() && !player_.CanPause();
    return running ? PlayState::Playing : paused ? PlayState::Paused : PlayState::Stopped;
}

SessionPlace PlaySequencer::place() const {
    const PlayOptions& play = settings_.play;
    return SessionPlace{inSession_,      currentIndex_, list_.count(),  playedCount_,
                        searchListing(), play.isRandom, play.isEndless, play.playCnt};
}

NowPlaying PlaySequencer::nowPlaying() {
    NowPlaying now;
    now.canPlay = true;  // outside a session Play starts one from the main bar
    now.loop = loopModeOf(settings_.play);
    now.shuffle = settings_.play.isRandom;
    now.volumePercent = settings_.app.Volume;
    if (!inSession_)
        return now;
    now.state = playState();
    now.canPause = now.state != PlayState::Stopped;
    const SessionPlace here = place();
    now.canGoNext = canGoNext(here);
    now.canGoPrevious = canGoPrevious(here);
    if (songPath_.empty())
        return now;
    now.songNumber = songNumber_;
    now.path = songPath_;
    now.author = song_.author;
    now.title = song_.title;
    now.album = song_.album;
    now.trackNumber = song_.trackNumber;
    now.coverPath = song_.coverPath;
    now.lengthSeconds = durationSeconds_ > 0 ? durationSeconds_ : 0;
    now.canSeek = now.state != PlayState::Stopped && now.lengthSeconds > 0;
    return now;
}

double PlaySequencer::positionSeconds() {
    if (playState() == PlayState::Stopped)
        return 0;
    const double position = player_.GetCurrentPosition();
    if (!(position > 0))
        return 0;
    return durationSeconds_ > 0 ? std::min(position, durationSeconds_) : position;
}

void PlaySequencer::announceChange() {
    if (listener_)
        listener_->nowPlayingChanged();
}

void PlaySequencer::announceSeek(double seconds) {
    if (listener_)
        listener_->seeked(seconds);
}

void PlaySequencer::showPlayingStatus() {
    view_.setStatusText(playingText(displayTitle_));
}

bool PlaySequencer::onCommand(int id) {
    using namespace player_command;
    // Commands wait while a song opens, as user input does then.
    if (openingSong_)
        return true;
    // A move to another song, a removal or a stop after this one: the prepared song no
    // longer follows, and its choice is undone so the command chooses as it always has.
    if (id == ID_PREV_SONG || id == ID_NEXT_SONG || id == ID_REMOVE_SONG ||
        id == ID_STOP_AFTER_SONG)
        dropPreparedSong();
    switch (id) {
        case ID_PREV_SONG:
            if (currentIndex_ > 0) {
                player_.Stop();
                --currentIndex_;
                playIndex(currentIndex_);
            }
            break;
        case ID_NEXT_SONG:
            player_.Stop();
            songOver_ = true;  // until another song starts
            playIndex(chooseNext());
            break;
        case ID_RESTART_SONG:
            player_.Pause();
            player_.Seek(0, true);
            player_.Run(nullptr);
            repeatWaiting_ = false;
            timers_.killTimer(TimerId::ResumeTimer);
            songOver_ = songPath_.empty();
            announceSeek(0);
            break;
        case ID_REMOVE_SONG:
            // Only an entry that exists can be removed: in order play may be waiting at a
            // position the search has not filled yet.
            if (currentIndex_ >= 0 && currentIndex_ < list_.count()) {
                player_.Pause();
                list_.removeAt(currentIndex_);
                view_.refreshItemCount(list_.count());
                view_.postPlayIndex(chooseNext());
            }
            break;
        case ID_STOP_AFTER_SONG:
            stopAfterCurrent_ = true;
            view_.redrawSlider();
            break;
        case ID_CHOOSE_SONG:
            view_.showSongList(currentIndex_);
            return true;
        case ID_PAUSE_RESUME:
            if (player_.CanPause()) {
                player_.Pause();
                view_.setStatusText(pausingText(displayTitle_));
            } else if (player_.Run(nullptr) == 0) {
                // Only a graph that really runs again is reported as playing; a resume
                // during a repeat's wait ends the wait.
                repeatWaiting_ = false;
                timers_.killTimer(TimerId::ResumeTimer);
                showPlayingStatus();
            }
            break;
        case ID_STOP_PLAYING:
            endSession();
            return true;
        case ID_APP_EXIT:
            // With isEndAndPlay the end of the session has posted Exit already; a second
            // one would run the main bar's exit twice.
            if (!finishSession())
                view_.postExitToMainBar();
            return true;
        default:
            return false;
    }
    announceChange();
    return true;
}
