// Which songs a session plays, in order and at random, and how the commands move it.
#include <gtest/gtest.h>

#include "sequencer_harness.h"

using seqtest::lasting;
using seqtest::Session;
using Strings = std::vector<std::string>;
namespace cmd = player_command;

TEST(InOrder, PlaysEachSongOnceThenEnds) {
    Session s;
    s.start(s.songs({"a", "b", "c"}));
    s.runToEnd();
    EXPECT_EQ(s.played(), (Strings{"a", "b", "c"}));
    EXPECT_TRUE(s.ended());
    EXPECT_EQ(s.view.handBacks, 1);
    EXPECT_EQ(s.view.beeps, 0);
    EXPECT_EQ(s.sequencer.currentIndex(), -1);
    EXPECT_EQ(s.view.trayTips.back(), "tavik vorn");
    EXPECT_FALSE(s.timers.runs(TimerId::PositionTimer));
}

TEST(InOrder, EndlessStartsOverAndIgnoresPlayCnt) {
    Session s;
    s.settings.play.isEndless = true;
    s.settings.play.playCnt = 2;
    s.start(s.songs({"a", "b", "c"}));
    s.run(5 * 240 * 1000 - 1);  // the fifth song ends 1 ms later
    EXPECT_EQ(s.played(), (Strings{"a", "b", "c", "a", "b"}));
    EXPECT_FALSE(s.ended());
}

TEST(InOrder, PlayCntLimitsTheSession) {
    Session s;
    s.settings.play.playCnt = 2;
    s.start(s.songs({"a", "b", "c"}));
    s.runToEnd();
    EXPECT_EQ(s.played(), (Strings{"a", "b"}));
    EXPECT_TRUE(s.ended());
}

TEST(Commands, NextCountsTowardPlayCntAndPrevDoesNot) {
    Session s;
    s.settings.play.playCnt = 3;
    s.start(s.songs({"a", "b", "c", "d", "e"}));
    s.run(600);
    s.sequencer.onCommand(cmd::ID_NEXT_SONG);  // b, second song counted
    s.sequencer.onCommand(cmd::ID_PREV_SONG);  // a again, not counted
    EXPECT_EQ(s.sequencer.playedCount(), 2);
    s.runToEnd();
    EXPECT_EQ(s.played(), (Strings{"a", "b", "a", "b"}));
    EXPECT_TRUE(s.ended());
}

TEST(Commands, PrevOnTheFirstSongDoesNothing) {
    Session s;
    s.start(s.songs({"a", "b"}));
    s.run(600);
    const auto log = s.player.log;
    EXPECT_TRUE(s.sequencer.onCommand(cmd::ID_PREV_SONG));
    EXPECT_EQ(s.player.log, log);
    EXPECT_EQ(s.sequencer.currentIndex(), 0);
}

TEST(Commands, NextOrRemoveOnTheLastSongRestsWithoutEnding) {
    Session next;
    next.start(next.songs({"a", "b"}));
    next.run(600);
    next.sequencer.onCommand(cmd::ID_NEXT_SONG);
    next.sequencer.onCommand(cmd::ID_NEXT_SONG);
    next.run(10 * 60 * 1000);
    EXPECT_EQ(next.played(), (Strings{"a", "b"}));
    EXPECT_EQ(next.player.state, seqtest::FakePlayer::Stopped);
    EXPECT_FALSE(next.ended());

    Session remove;
    remove.start(remove.songs({"a", "b"}));
    remove.run(600);
    remove.sequencer.onCommand(cmd::ID_NEXT_SONG);
    remove.sequencer.onCommand(cmd::ID_REMOVE_SONG);
    remove.run(10 * 60 * 1000);
    EXPECT_EQ(remove.list.count(), 1);
    EXPECT_EQ(remove.view.itemCount, 1);
    EXPECT_EQ(remove.player.state, seqtest::FakePlayer::Paused);
    EXPECT_FALSE(remove.ended());
    remove.sequencer.onCommand(cmd::ID_STOP_PLAYING);
    EXPECT_TRUE(remove.ended());
}

TEST(Commands, RemovePlaysTheEntryBehindTheOneThatMovedUp) {
    Session s;
    s.start(s.songs({"a", "b", "c", "d"}));
    s.run(600);
    s.sequencer.onCommand(cmd::ID_REMOVE_SONG);  // a goes; b moves to 0, index 1 is c
    s.run(1);
    EXPECT_EQ(s.played(), (Strings{"a", "c"}));
    EXPECT_EQ(s.list.pathAt(0), "/music/b");
}

TEST(SongTexts, MissingTagsFallBackToThePathAndTheDisplayTitle) {
    Session s;
    s.start(s.songs({"a", "b"}, lasting(240, "", "Song")));
    s.run(600);
    EXPECT_EQ(s.view.status, "</music/a - Song> Playing ..");
    EXPECT_EQ(s.view.sliderText, "/music/a - Song");
}

TEST(Commands, PauseResumeRestartAndStopAfter) {
    Session s;
    s.settings.play.isRepeat = true;
    s.start(s.songs({"a", "b"}, lasting(240, "Ann", "Song")));
    s.run(600);
    EXPECT_EQ(s.view.status, "<Ann - Song> Playing ..");

    s.sequencer.onCommand(cmd::ID_PAUSE_RESUME);
    EXPECT_EQ(s.view.status, "<Ann - Song> Pausing ..");
    EXPECT_EQ(s.player.state, seqtest::FakePlayer::Paused);
    s.sequencer.onCommand(cmd::ID_PAUSE_RESUME);
    EXPECT_EQ(s.view.status, "<Ann - Song> Playing ..");
    EXPECT_EQ(s.player.state, seqtest::FakePlayer::Running);

    s.run(10000);
    s.sequencer.onCommand(cmd::ID_RESTART_SONG);
    EXPECT_EQ(s.played(), (Strings{"a", "a"}));

    // Stop after this song wins over the repeat.
    s.sequencer.onCommand(cmd::ID_STOP_AFTER_SONG);
    EXPECT_TRUE(s.sequencer.stopAfterCurrent());
    EXPECT_EQ(s.view.sliderRedraws, 1);
    s.runToEnd();
    EXPECT_EQ(s.played(), (Strings{"a", "a"}));
    EXPECT_TRUE(s.ended());
    EXPECT_FALSE(s.sequencer.stopAfterCurrent());
}

TEST(Commands, ChooseShowsTheListAtTheCurrentSongAndAPickPlaysIt) {
    Session s;
    s.start(s.songs({"a", "b", "c"}));
    s.run(600);
    s.sequencer.onCommand(cmd::ID_CHOOSE_SONG);
    EXPECT_EQ(s.view.songListShownAt, 0);
    s.view.postPlayIndex(2);
    s.run(1);
    EXPECT_EQ(s.played(), (Strings{"a", "c"}));
    EXPECT_FALSE(s.sequencer.onCommand(32772));  // not a session command
}

TEST(Commands, ExitEndsTheSessionAndPostsExitOnce) {
    for (bool endAndPlay : {false, true}) {
        Session s;
        s.settings.other.isEndAndPlay = endAndPlay;
        s.start(s.songs({"a"}));
        s.run(600);
        s.sequencer.onCommand(cmd::ID_APP_EXIT);
        EXPECT_TRUE(s.ended());
        EXPECT_EQ(s.view.handBacks, 1);
        EXPECT_EQ(s.view.exitsPosted, 1) << "isEndAndPlay " << endAndPlay;
    }
}

TEST(Random, TwoSongsEndlessAlternate) {
    Session s(12345);
    s.settings.play.isRandom = true;
    s.settings.play.isEndless = true;
    s.start(s.songs({"a", "b"}));
    s.run(8 * 240 * 1000);
    const Strings played = s.played();
    ASSERT_GE(played.size(), 8u);
    for (std::size_t i = 1; i < played.size(); ++i)
        EXPECT_NE(played[i], played[i - 1]);
}

TEST(Random, AfterTheSearchEndedFiveSongsGiveFourThenTheEnd) {
    for (std::uint32_t seed : {1u, 7u, 99u, 2024u}) {
        Session s(seed);
        s.settings.play.isRandom = true;
        s.start(s.songs({"a", "b", "c", "d", "e"}));
        s.runToEnd();
        const Strings played = s.played();
        EXPECT_EQ(played.size(), 4u) << "seed " << seed;
        for (std::size_t i = 1; i < played.size(); ++i)
            EXPECT_NE(played[i], played[i - 1]);
        EXPECT_TRUE(s.ended());
    }
}

TEST(Random, OneSongPlaysNothing) {
    Session s;
    s.settings.play.isRandom = true;
    s.start(s.songs({"a"}));
    s.runToEnd();
    EXPECT_TRUE(s.played().empty());
    EXPECT_TRUE(s.ended());
}

TEST(Random, NoAdmissibleSongYieldsNoneWithoutSpinning) {
    // One song, endless: after it, the only entry is the current one.
    Session one;
    one.settings.play.isRandom = true;
    one.settings.play.isEndless = true;
    one.start(one.songs({"a"}));
    one.runToEnd();
    EXPECT_EQ(one.played(), (Strings{"a"}));
    EXPECT_TRUE(one.ended());

    // An empty list, endless: nothing to choose from, no division by the empty count.
    Session empty;
    empty.settings.play.isRandom = true;
    empty.settings.play.isEndless = true;
    EXPECT_EQ(empty.sequencer.chooseNext(), PlaySequencer::kNoRandomSong);
    EXPECT_EQ(empty.sequencer.currentIndex(), -1);
}
