#include "playback/core/play_session.h"

#include <utility>

PlaySession::PlaySession(Player& player, SequencerTimers& timers, PlayerView& view,
                         const AppSettings& settings, SongProbeFactory probes, OwnerHooks hooks,
                         RandGenerator random)
    : list_(std::make_unique<SongList>()),
      searcher_(std::make_unique<SongSearcher>(*list_, std::move(probes))),
      random_(random),
      loop_(std::move(hooks.wake)),
      sequencer_(std::make_unique<PlaySequencer>(player, *searcher_, *list_, timers, view, settings,
                                                 random_, loop_, std::move(hooks.idle))) {
    // The first song of a session plays as soon as the search lists it, not at the next
    // advance poll: the search thread only queues the call, the owner's thread makes it.
    searcher_->setFirstEntryNotify(
        [this] { loop_.post([this] { sequencer_->onFirstSongListed(); }); });
}

PlaySession::~PlaySession() {
    // The search thread may still be sending SearchDone: stop it while serving the sends,
    // then take down what it used, users before what they use.
    sequencer_->shutdown();
    sequencer_.reset();
    searcher_.reset();
    list_.reset();
}

bool PlaySession::shutdown(std::chrono::milliseconds limit) {
    return sequencer_->shutdown(limit);
}
