// When songs start and stop: waits between songs, repeats, the demo play time, and what a
// started song shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "sequencer_harness.h"

using seqtest::lasting;
using seqtest::Session;
using Strings = std::vector<std::string>;
namespace cmd = player_command;

namespace {
std::vector<std::int64_t> startTimes(const Session& s) {
    std::vector<std::int64_t> times;
    for (const auto& start : s.player.starts)
        times.push_back(start.atMs);
    return times;
}
}  // namespace

TEST(Wait, NextSongStartsWaitTimeAfterTheEnd) {
    Session s;
    s.settings.play.waitTime = 3;
    s.start(s.songs({"a", "b"}, lasting(10)));
    s.runToEnd();
    EXPECT_EQ(s.played(), (Strings{"a", "b"}));
    // a starts as soon as it is listed, ends at 10 s; b starts 3 s later.
    EXPECT_EQ(startTimes(s), (std::vector<std::int64_t>{0, 13000}));
}

TEST(Wait, RepeatWaitsPausedAtTheStart) {
    Session s;
    s.settings.play.waitTime = 3;
    s.settings.play.isRepeat = true;
    s.settings.play.repeatCnt = 1;
    s.start(s.songs({"a"}, lasting(10)));
    s.run(10000 + 1500);  // halfway through the wait before the repeat
    EXPECT_EQ(s.player.state, seqtest::FakePlayer::Paused);
    EXPECT_EQ(s.player.GetCurrentPosition(), 0);
    EXPECT_TRUE(s.timers.runs(TimerId::ResumeTimer));
    s.runToEnd();
    EXPECT_EQ(startTimes(s), (std::vector<std::int64_t>{0, 13000}));
    EXPECT_FALSE(s.timers.runs(TimerId::ResumeTimer));
}

TEST(Wait, ASongChosenDuringTheWaitIsNotRestartedByTheWaitsTick) {
    Session s;
    s.settings.play.waitTime = 3;
    s.start(s.songs({"a", "b", "c"}, lasting(10)));
    s.run(11000);  // a has ended, the wait for b runs
    s.sequencer.onCommand(cmd::ID_NEXT_SONG);
    s.run(5000);
    EXPECT_EQ(s.played(), (Strings{"a", "c"}));
}

// A new Play during the previous session's wait (before a repeat, or between songs) must
// neither resume nor advance that session's song.
TEST(Wait, ANewSessionEndsThePreviousSessionsWait) {
    for (bool repeat : {true, false}) {
        Session s;
        s.settings.play.waitTime = 3;
        s.settings.play.isRepeat = repeat;
        s.start(s.songs({"a", "b"}, lasting(10)));
        s.run(11000);  // a has ended; the wait runs
        s.catalogue.gate("/music/x");
        s.start(s.songs({"x"}), File, false);
        s.run(5000);
        EXPECT_EQ(s.played(), (Strings{"a"})) << "repeat " << repeat;
    }
}

// What the desktop is told: nothing reads Playing while nothing plays, the position of a
// wait is 0, a repeat's restart is a seek to 0, and every change is announced.
TEST(Wait, WaitsReadAsSilenceAndARepeatSeeksToItsStart) {
    struct Seen : MediaRemote::Listener {
        int changes = 0;
        std::vector<double> seeks;
        void nowPlayingChanged() override { ++changes; }
        void seeked(double seconds) override { seeks.push_back(seconds); }
    };
    for (bool repeat : {false, true}) {
        Session s;
        Seen seen;
        s.sequencer.setListener(&seen);
        s.settings.play.waitTime = 3;
        s.settings.play.isRepeat = repeat;
        s.start(s.songs({"a", "b"}, lasting(10)));
        s.run(5000);
        EXPECT_EQ(s.sequencer.nowPlaying().state, PlayState::Playing);
        const int changes = seen.changes;
        s.run(6000);  // a has ended at 10 s: the wait runs
        const NowPlaying now = s.sequencer.nowPlaying();
        EXPECT_EQ(now.state, repeat ? PlayState::Paused : PlayState::Stopped) << repeat;
        EXPECT_EQ(s.sequencer.positionSeconds(), 0) << repeat;
        EXPECT_GT(seen.changes, changes);
        EXPECT_EQ(seen.seeks, repeat ? std::vector<double>{0} : std::vector<double>{});
        s.run(2000);
        EXPECT_EQ(s.sequencer.nowPlaying().state, PlayState::Playing) << repeat;
    }
}

TEST(Repeat, CountAndUntilTheUserActs) {
    Session twice;
    twice.settings.play.isRepeat = true;
    twice.settings.play.repeatCnt = 2;
    twice.start(twice.songs({"a", "b"}, lasting(10)));
    twice.run(65 * 1000);
    EXPECT_EQ(twice.played(), (Strings{"a", "a", "a", "b", "b", "b"}));

    Session forever;
    forever.settings.play.isRepeat = true;
    forever.start(forever.songs({"a", "b"}, lasting(10)));
    forever.run(100 * 1000 - 500);
    EXPECT_EQ(forever.played(), Strings(10, "a"));
    EXPECT_EQ(forever.sequencer.repeatCount(), 9);
    forever.sequencer.onCommand(cmd::ID_NEXT_SONG);
    EXPECT_EQ(forever.played().back(), "b");
    EXPECT_EQ(forever.sequencer.repeatCount(), 0);
}

TEST(DemoPlayTime, CutsOnlySongsLongerThanIt) {
    Session s;
    s.settings.play.PlayTime = 30;
    s.start(s.songs({"long"}, lasting(240)) + "|" + s.songs({"short"}, lasting(20)));
    s.run(600);
    EXPECT_EQ(s.player.stopTime, 30);
    s.run(30 * 1000);
    EXPECT_EQ(s.played(), (Strings{"long", "short"}));
    EXPECT_EQ(s.player.stopTime, 0);

    Session whole;
    whole.settings.play.PlayTime = 300;
    whole.start(whole.songs({"a"}, lasting(240)));
    whole.run(600);
    EXPECT_EQ(std::count(whole.player.log.begin(), whole.player.log.end(), "stoptime:300"), 0);
    whole.runToEnd();
    EXPECT_TRUE(whole.ended());
    EXPECT_EQ(whole.player.GetCurrentPosition(), 240);  // played to its own end
}

TEST(PlaySong, ShowsTitleTextsAndTimes) {
    Session s;
    int effects = 0;
    auto* catalogue = reinterpret_cast<EffectCatalogue*>(&effects);
    s.settings.play.useEffect = true;
    s.settings.play.effectCatalogue = catalogue;
    s.settings.other.filter = "/tmp/report.fil";
    s.start(s.songs({"full"}, lasting(296.7, "Ann", "Song", "Live")) + "|" +
                s.songs({"bare"}, lasting(61)),
            File, false);  // before the search hands anything over
    EXPECT_EQ(s.view.status, "Player");
    EXPECT_EQ(s.view.sliderText, "検索中...");
    EXPECT_EQ(s.sequencer.totalTimeText(), "");

    s.waitForSearchEnd();
    s.run(500);
    EXPECT_EQ(s.sequencer.displayTitle(), "Ann - Song");
    EXPECT_EQ(s.view.sliderText, "Live");
    EXPECT_EQ(s.view.status, "<Ann - Song> Playing ..");
    EXPECT_EQ(s.view.trayTips.back(), "<Ann - Song> Playing ..");
    EXPECT_EQ(s.sequencer.totalTimeText(), "/04:56");
    EXPECT_EQ(s.sequencer.elapsedTimeText(), "00:00");
    EXPECT_EQ(s.player.reportPath, "/tmp/report.fil");
    EXPECT_EQ(s.player.effects, catalogue);

    // Position ticks: at 83 s the slider stands at 28 and the time reads 01:23.
    s.run(83100);  // the song started at 0: the last tick, at 83.2 s, is 83.2 s into it
    EXPECT_EQ(s.sequencer.elapsedTimeText(), "01:23");
    EXPECT_EQ(s.lastSliderPosition, 28);
    s.sequencer.seekToSlider(50);
    EXPECT_EQ(s.player.log.back(), "seek:148");

    // A song without texts shows its path; effects off hands the graph none.
    s.settings.play.useEffect = false;
    s.sequencer.onCommand(cmd::ID_NEXT_SONG);
    EXPECT_EQ(s.sequencer.displayTitle(), "/music/bare");
    EXPECT_EQ(s.view.sliderText, "/music/bare");
    EXPECT_EQ(s.sequencer.totalTimeText(), "/01:01");
    EXPECT_EQ(s.player.effects, nullptr);
}

TEST(PlaySong, NoTrayLeavesTheTipAlone) {
    Session s;
    s.settings.other.isnoTaskTray = true;
    s.settings.play.isStartAndIcon = true;
    s.start(s.songs({"a"}, lasting(5)));
    EXPECT_EQ(s.view.iconified, 1);
    s.runToEnd();
    EXPECT_EQ(s.played(), (Strings{"a"}));
    EXPECT_TRUE(s.view.trayTips.empty());
    EXPECT_EQ(s.view.handBacks, 1);
}

TEST(GraphEvents, OtherEventsAndLateEndsAreIgnored) {
    Session s;
    s.start(s.songs({"a", "b"}, lasting(10)));
    s.run(600);
    s.play.loop().post([&] { s.sequencer.onSongEnded(); });  // no end event pending: ignored
    s.run(1);
    EXPECT_EQ(s.played(), (Strings{"a"}));

    // The song ends, but the stop is handled before the graph's message.
    s.run(9398);  // 1 ms before the end
    s.player.play(1);
    s.sequencer.onCommand(cmd::ID_STOP_PLAYING);
    s.run(60 * 1000);
    EXPECT_EQ(s.played(), (Strings{"a"}));
    EXPECT_TRUE(s.ended());
}
