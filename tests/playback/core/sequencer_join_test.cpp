// A song prepared near the end of the one playing follows it without a gap, and the
// session plays what it would have played without that: the same songs, in the same
// order, with the same counts and messages. Whatever stands in the way (a wait, a repeat
// due, a command, a file that fails) leaves the end to choose as it always has.
#include <gtest/gtest.h>

#include <algorithm>

#include "sequencer_harness.h"

using seqtest::Session;
using Strings = std::vector<std::string>;
namespace cmd = player_command;

namespace {

struct JoinRow {
    const char* name;
    bool random = false;
    int playCnt = 0, demo = 0, wait = 0, repeat = 0;
    int command = 0;         // given 237 s into the first song, once it is prepared
    bool failing = false;    // the second song can't be opened
    bool joinsFirst = true;  // the first song's end is a join
    bool prepares = true;    // a song is prepared at all
    bool drops = false;      // a prepared song is dropped
};

constexpr int kVolumeUp = -1;  // not a command: the keys or the desktop change the volume

const JoinRow kRows[] = {
    {"InOrder"},
    {"Random", true},
    {"PlayCnt", false, 4},
    {"DemoTime", false, 0, 60, 0, 0, 0, false, false},  // the first end came before 237 s
    {"WaitBetweenSongs", false, 0, 0, 2, 0, 0, false, false, false},
    {"RepeatDue", false, 0, 0, 0, 1, 0, false, false},
    {"NextAfterPrepared", false, 0, 0, 0, 0, cmd::ID_NEXT_SONG, false, false, true, true},
    {"RandomNextAfterPrepared", true, 0, 0, 0, 0, cmd::ID_NEXT_SONG, false, false, true, true},
    {"StopAfterPrepared", false, 0, 0, 0, 0, cmd::ID_STOP_AFTER_SONG, false, false, true, true},
    {"RemoveAfterPrepared", false, 0, 0, 0, 0, cmd::ID_REMOVE_SONG, false, false, true, true},
    {"VolumeAfterPrepared", false, 0, 0, 0, 0, kVolumeUp},
    {"NextFileFailsToOpen", false, 0, 0, 0, 0, 0, true, false},
};

int count(const Strings& log, const std::string& prefix) {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.rfind(prefix, 0) == 0;
    }));
}

struct Outcome {
    Strings played, messages, log;
    int playedCount;
};

Outcome runRow(const JoinRow& row, bool joins) {
    Session s(7);
    s.player.joins = joins;
    PlayOptions& play = s.settings.play;
    play.isRandom = row.random;
    play.playCnt = row.playCnt;
    play.PlayTime = row.demo;
    play.waitTime = row.wait;
    play.isRepeat = row.repeat > 0;
    play.repeatCnt = row.repeat;
    s.songs({"b"}, row.failing ? seqtest::unopenable() : seqtest::SongSpec{});
    s.start(s.songs({"a"}) + "|/music/b|" + s.songs({"c", "d", "e", "f"}));
    s.run(237 * 1000);
    if (row.command == kVolumeUp)
        s.sequencer.volumeChanged();
    else if (row.command)
        s.sequencer.onCommand(row.command);
    s.runToEnd(4 * 3600 * 1000);
    return {s.played(), s.view.messages, s.player.log, s.sequencer.playedCount()};
}

}  // namespace

TEST(Joins, PlayWhatTheSessionPlaysWithoutThem) {
    for (const JoinRow& row : kRows) {
        SCOPED_TRACE(row.name);
        const Outcome apart = runRow(row, false);
        const Outcome joined = runRow(row, true);
        EXPECT_EQ(joined.played, apart.played);
        EXPECT_EQ(joined.messages, apart.messages);
        EXPECT_EQ(joined.playedCount, apart.playedCount);
        EXPECT_EQ(count(joined.log, "prepare:") > 0, row.prepares);
        EXPECT_EQ(count(joined.log, "dropnext") > 0, row.drops);
        // A song that followed was never opened: then only the first one was.
        if (row.joinsFirst) {
            EXPECT_EQ(count(joined.log, "open:"), 1);
        }
    }
}
