// Sessions and the search thread: keeping or renewing the list, waiting for songs the
// search has not found yet, songs that fail, and never overlapping two searches.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <set>

#include "sequencer_harness.h"
#include "support/temp_dir.h"

using seqtest::lasting;
using seqtest::Session;
using seqtest::SongSpec;
using seqtest::unopenable;
using seqtest::unprobeable;
using Strings = std::vector<std::string>;
namespace cmd = player_command;

namespace {
// A real folder holding `names`, each known to the catalogue as `spec`.
std::string folderOf(Session& s, const testsupport::TempDir& dir, const Strings& names,
                     SongSpec spec = {}) {
    for (const std::string& name : names) {
        std::ofstream(dir.file(name)) << "not really media";
        s.catalogue.add(dir.file(name), spec);
    }
    return dir.path();
}
}  // namespace

TEST(ListKeeping, SameSelectionTwiceKeepsTheListWithoutSearching) {
    testsupport::TempDir dir;
    Session s;
    s.settings.other.slistAddType = 1;
    const std::string folder = folderOf(s, dir, {"a.wav", "b.mp3"}, lasting(5));
    s.start(folder, Folder);
    s.runToEnd();
    ASSERT_EQ(s.played().size(), 2u);
    const auto probes = s.catalogue.probeLog();

    EXPECT_EQ(s.start(folder, Folder), 0);  // plays index 0 at once
    EXPECT_EQ(s.catalogue.probeLog(), probes);
    EXPECT_EQ(s.list.count(), 2);
    EXPECT_EQ(s.sequencer.currentIndex(), 0);
    EXPECT_FALSE(s.timers.runs(TimerId::AdvanceTimer));
    s.runToEnd();
    EXPECT_EQ(s.played().size(), 4u);
    EXPECT_EQ(s.played()[2], s.played()[0]);
}

TEST(ListKeeping, SameEmptySelectionOverAnEmptyListWaitsUntilStopped) {
    Session s;
    s.settings.other.slistAddType = 1;
    EXPECT_EQ(s.start(""), PlaySequencer::kIndexOutsideList);
    s.run(10 * 60 * 1000);
    EXPECT_TRUE(s.played().empty());
    EXPECT_FALSE(s.ended());
    EXPECT_TRUE(s.catalogue.probeLog().empty());
    s.sequencer.onCommand(cmd::ID_STOP_PLAYING);
    EXPECT_TRUE(s.ended());
}

TEST(ListKeeping, AlwaysAddAppendsAndStartsAgainAtTheFirstEntry) {
    Session s;
    s.settings.other.slistAddType = 2;
    s.start(s.songs({"a", "b"}, lasting(5)));
    s.runToEnd();
    s.start(s.songs({"c"}, lasting(5)));
    EXPECT_EQ(s.list.count(), 3);
    EXPECT_EQ(s.list.pathAt(2), "/music/c");
    s.runToEnd();
    EXPECT_EQ(s.played(), (Strings{"a", "b", "a", "b", "c"}));

    // Renewing (0) empties the list at every Play.
    s.settings.other.slistAddType = 0;
    s.start(s.songs({"d"}));
    EXPECT_EQ(s.list.count(), 1);
}

TEST(Searching, NothingPlayableShowsTheWaitThenBeepsAndHandsBack) {
    testsupport::TempDir dir;
    Session s;
    const std::string folder = folderOf(s, dir, {"x.wav"}, unprobeable());
    s.catalogue.gate(dir.file("x.wav"));
    s.start(folder, Folder, false);
    s.run(500);
    EXPECT_EQ(s.view.sliderText, "検索中.....");
    EXPECT_FALSE(s.ended());

    s.catalogue.release(dir.file("x.wav"));
    s.waitForSearchEnd();
    EXPECT_EQ(s.searchDonesHandled(), 1);
    s.run(500);
    EXPECT_EQ(s.view.beeps, 1);
    EXPECT_TRUE(s.ended());
    EXPECT_EQ(s.view.handBacks, 1);
}

TEST(Searching, InOrderWaitsAtAPositionNotYetFound) {
    Session s;
    const std::string selection = s.songs({"a", "b", "c"}, lasting(10));
    s.catalogue.gate("/music/c");
    s.start(selection, File, false);
    s.waitForCount(2);
    s.run(30 * 1000);  // a and b have played; index 2 is not there yet
    EXPECT_EQ(s.played(), (Strings{"a", "b"}));
    EXPECT_EQ(s.sequencer.currentIndex(), 2);
    EXPECT_EQ(s.view.sliderText, "検索中.....");

    // Removing while waiting there must not touch the list.
    const int played = s.sequencer.playedCount();
    s.sequencer.onCommand(cmd::ID_REMOVE_SONG);
    EXPECT_EQ(s.list.count(), 2);
    EXPECT_EQ(s.sequencer.playedCount(), played);

    s.catalogue.release("/music/c");
    s.waitForSearchEnd();
    s.runToEnd();
    EXPECT_EQ(s.played(), (Strings{"a", "b", "c"}));
    EXPECT_EQ(s.view.beeps, 0);
    EXPECT_EQ(s.view.itemCount, 3);
}

TEST(Searching, RandomWaitsForTheSearchToListAnotherSong) {
    Session s;
    s.settings.play.isRandom = true;
    const std::string selection = s.songs({"a", "b"}, lasting(10));
    s.catalogue.gate("/music/b");
    s.start(selection, File, false);
    s.waitForCount(1);
    s.run(30 * 1000);  // a ends at 10.5 s while the search still runs: the session waits
    EXPECT_FALSE(s.ended());
    s.catalogue.release("/music/b");
    s.waitForSearchEnd();
    s.run(500);
    EXPECT_EQ(s.played(), (Strings{"a", "b"}));
}

TEST(OpenFailure, ThroughPlayIndexTheSessionRests) {
    Session s;
    const std::string selection = s.songs({"a"}, lasting(10, "Ann")) + "|" +
                                  s.songs({"bad"}, unopenable()) + "|" +
                                  s.songs({"c"}, lasting(10));
    s.start(selection);
    s.run(10 * 60 * 1000);
    ASSERT_EQ(s.view.messages, (Strings{"(/music/bad) open error. no such file"}));
    EXPECT_EQ(s.played(), (Strings{"a"}));
    EXPECT_EQ(s.view.status, "<Ann> Playing ..");  // the previous song's texts stay
    EXPECT_FALSE(s.ended());
    EXPECT_FALSE(s.timers.runs(TimerId::AdvanceTimer));
    EXPECT_TRUE(s.timers.runs(TimerId::PositionTimer));

    s.sequencer.onCommand(cmd::ID_NEXT_SONG);
    EXPECT_EQ(s.played(), (Strings{"a", "c"}));
}

TEST(OpenFailure, ThroughTheAdvanceTimerTheSessionEnds) {
    Session s;
    s.start(s.songs({"bad", "b"}, unopenable()));
    s.run(500);
    EXPECT_EQ(s.view.messages.size(), 1u);
    EXPECT_TRUE(s.ended());
    EXPECT_TRUE(s.played().empty());
}

TEST(SearchThread, ANewSearchWaitsForThePreviousOne) {
    Session s;
    const std::string slow = s.songs({"slow"});
    s.catalogue.gate("/music/slow");
    s.start(slow, File, false);
    ASSERT_TRUE(s.catalogue.waitForLog("open:/music/slow"));
    s.sequencer.onCommand(cmd::ID_STOP_PLAYING);  // the search still sits in its probe

    // The previous search ends only once the waiting sequencer pumps, and it sends
    // SearchDone synchronously while it ends: the wait must serve it.
    s.onPump = [&] { s.catalogue.release("/music/slow"); };
    s.start(s.songs({"x"}));
    EXPECT_GT(s.pumps, 0);
    EXPECT_EQ(s.searchDonesHandled(), 2);
    EXPECT_EQ(s.catalogue.probeLog(), (Strings{"create", "open:/music/slow", "destroy", "create",
                                               "open:/music/x", "destroy"}));
    // The old search's find went before the new session emptied the list.
    ASSERT_EQ(s.list.count(), 1);
    EXPECT_EQ(s.list.pathAt(0), "/music/x");
}

TEST(SearchThread, ShutdownStopsAndWaitsForTheSearch) {
    Session s;
    const std::string selection = s.songs({"a", "b"});
    s.catalogue.gate("/music/a");
    s.start(selection, File, false);
    s.onPump = [&] { s.catalogue.release("/music/a"); };
    s.sequencer.shutdown();
    EXPECT_FALSE(s.searcher.hasThread());
    EXPECT_FALSE(s.searcher.running());
    EXPECT_EQ(s.searchDonesHandled(), 1);
}

// A search stuck in its probe (a dead mount) can't hold up the end of the program: a
// limited shutdown gives up and detaches nothing; a later one still ends it properly.
TEST(SearchThread, ALimitedShutdownGivesUpOnAStuckSearch) {
    Session s;
    s.catalogue.gate("/music/a");
    s.start(s.songs({"a"}), File, false);
    ASSERT_TRUE(s.catalogue.waitForLog("open:/music/a"));
    EXPECT_FALSE(s.sequencer.shutdown(std::chrono::milliseconds(50)));
    EXPECT_TRUE(s.searcher.hasThread());
    s.onPump = [&] { s.catalogue.release("/music/a"); };
    EXPECT_TRUE(s.sequencer.shutdown());
    EXPECT_FALSE(s.searcher.hasThread());
    EXPECT_EQ(s.searchDonesHandled(), 1);
}

namespace {
class ThreadlessSequencer : public PlaySequencer {
  public:
    using PlaySequencer::PlaySequencer;

  protected:
    bool startSearchThread() override { return false; }
};
}  // namespace

TEST(SearchThread, AThreadThatCannotStartEndsTheSession) {
    Session s;
    ThreadlessSequencer sequencer(s.player, s.searcher, s.list, s.timers, s.view, s.settings,
                                  s.random, s.play.loop());
    EXPECT_EQ(sequencer.startSession(s.songs({"a"}), File), EAGAIN);
    EXPECT_FALSE(sequencer.inSession());
    EXPECT_EQ(s.view.handBacks, 1);
    EXPECT_FALSE(s.timers.runs(TimerId::AdvanceTimer));
    EXPECT_FALSE(s.timers.runs(TimerId::PositionTimer));
}

// The first song plays as soon as the search lists it; the call that starts it is taken
// only while the session waits for that song.
TEST(FirstSong, StartsWhenListedWithoutATickAndLaterCallsChangeNothing) {
    Session s;
    s.settings.play.waitTime = 3;
    const std::string selection = s.songs({"a", "b"}, lasting(10));
    s.catalogue.gate("/music/b");
    s.start(selection, File, false);
    s.waitForStarts(1);
    EXPECT_EQ(s.played(), (Strings{"a"}));
    EXPECT_EQ(s.player.starts[0].atMs, 0);
    EXPECT_FALSE(s.timers.runs(TimerId::AdvanceTimer));

    s.catalogue.release("/music/b");
    s.waitForSearchEnd();
    s.sequencer.onFirstSongListed();  // while a plays
    s.run(10000 + 2999);              // a has ended; the wait before b runs
    s.sequencer.onFirstSongListed();  // during the wait
    s.run(0);
    EXPECT_EQ(s.played(), (Strings{"a"}));
    s.run(1);
    EXPECT_EQ(s.played(), (Strings{"a", "b"}));
    EXPECT_EQ(s.player.starts[1].atMs, 13000);
}

// A random session draws its first song over what the first poll finds, or over the whole
// list when the search ends first: never over the first song listed alone.
TEST(FirstSong, RandomDrawsOverWhatThePollOrTheSearchsEndFinds) {
    std::set<std::string> atTheEnd, atThePoll;
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        Session s(seed), t(seed * 3);
        s.settings.play.isRandom = t.settings.play.isRandom = true;
        s.start(s.songs({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}, lasting(10)));
        atTheEnd.insert(s.played().at(0));  // drawn as SearchDone was served, at 0 ms
        const std::string selection = t.songs({"a", "b", "c"}, lasting(10));
        t.catalogue.gate("/music/c");
        t.start(selection, File, false);
        t.waitForCount(2);
        t.run(499);
        EXPECT_TRUE(t.played().empty());
        t.run(1);
        atThePoll.insert(t.played().at(0));
    }
    EXPECT_GT(atTheEnd.size(), 1u);
    EXPECT_EQ(atThePoll, (std::set<std::string>{"a", "b"}));
}

// The earlier search's first-song call is still queued when the next Play waits for that
// search to end: served by the wait, it starts nothing.
TEST(FirstSong, ACallFromAnEarlierSearchServedByTheNextPlayStartsNothing) {
    Session s;
    s.start(s.songs({"a"}), File, false);
    ASSERT_TRUE(s.owner.waitFor(20000));  // its call and its SearchDone wait for this thread
    s.sequencer.onCommand(cmd::ID_STOP_PLAYING);
    const std::string next = s.songs({"x"});
    s.catalogue.gate("/music/x");
    s.start(next, File, false);
    s.run(0);
    EXPECT_TRUE(s.played().empty());
    EXPECT_FALSE(s.ended());
    EXPECT_EQ(s.view.sliderText, "検索中...");

    s.catalogue.release("/music/x");
    s.waitForStarts(1);
    EXPECT_EQ(s.played(), (Strings{"x"}));
    EXPECT_EQ(s.nowMs, 0);
}
