// A song prepared near the end of the one playing follows it without a gap, and the
// session plays what it would have played without that: the same songs, in the same
// order, with the same counts, texts and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "sequencer_harness.h"

using seqtest::Session;
using Strings = std::vector<std::string>;
namespace cmd = player_command;

namespace {

struct JoinRow {
    const char* name;
    std::function<void(Session&)> setUp;  // options and songs; returns via start()
    std::function<void(Session&)> act;    // at 237 s into the first song (prepared by then)
    bool joinsFirstEnd;                   // the first song's end is a join
    bool prepares = true;                 // a song is prepared at all
};

int count(const Strings& log, const std::string& prefix) {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.rfind(prefix, 0) == 0;
    }));
}

struct Outcome {
    Strings played;
    Strings messages;
    int playedCount;
    Strings log;
};

Outcome runRow(const JoinRow& row, bool joins) {
    Session s(7);
    s.player.joins = joins;
    row.setUp(s);
    s.run(237 * 1000);
    if (row.act)
        row.act(s);
    s.runToEnd(4 * 3600 * 1000);
    return {s.played(), s.view.messages, s.sequencer.playedCount(), s.player.log};
}

const JoinRow kRows[] = {
    {"InOrder",
     [](Session& s) {
         s.start(s.songs({"a", "b", "c"}));
     },
     {},
     true},
    {"Random",
     [](Session& s) {
         s.settings.play.isRandom = true;
         s.start(s.songs({"a", "b", "c", "d", "e", "f"}));
     },
     {},
     true},
    {"PlayCnt",
     [](Session& s) {
         s.settings.play.isEndless = false;
         s.settings.play.playCnt = 4;
         s.start(s.songs({"a", "b", "c"}));
     },
     {},
     true},
    {"DemoTime",
     [](Session& s) {
         s.settings.play.PlayTime = 60;
         s.start(s.songs({"a", "b", "c"}));
     },
     {},
     false},  // the first song ended at 60 s, before the action
    {"WaitBetweenSongs",
     [](Session& s) {
         s.settings.play.waitTime = 2;
         s.start(s.songs({"a", "b"}));
     },
     {},
     false,
     false},
    {"RepeatDue",
     [](Session& s) {
         s.settings.play.isRepeat = true;
         s.settings.play.repeatCnt = 1;
         s.start(s.songs({"a", "b"}));
     },
     {},
     false},
    {"NextAfterPrepared",
     [](Session& s) {
         s.start(s.songs({"a", "b", "c"}));
     },
     [](Session& s) { s.sequencer.onCommand(cmd::ID_NEXT_SONG); }, false},
    {"RandomNextAfterPrepared",
     [](Session& s) {
         s.settings.play.isRandom = true;
         s.start(s.songs({"a", "b", "c", "d", "e", "f"}));
     },
     [](Session& s) { s.sequencer.onCommand(cmd::ID_NEXT_SONG); }, false},
    {"StopAfterPrepared",
     [](Session& s) {
         s.start(s.songs({"a", "b", "c"}));
     },
     [](Session& s) { s.sequencer.onCommand(cmd::ID_STOP_AFTER_SONG); }, false},
    {"RemoveAfterPrepared",
     [](Session& s) {
         s.start(s.songs({"a", "b", "c"}));
     },
     [](Session& s) { s.sequencer.onCommand(cmd::ID_REMOVE_SONG); }, false},
    {"NextFileFailsToOpen",
     [](Session& s) {
         s.songs({"b"}, seqtest::unopenable());
         s.start(s.songs({"a"}) + "|/music/b|" + s.songs({"c"}));
     },
     {},
     false},
};

}  // namespace

TEST(Joins, PlayWhatTheSessionPlaysWithoutThem) {
    for (const JoinRow& row : kRows) {
        SCOPED_TRACE(row.name);
        const Outcome apart = runRow(row, false);
        const Outcome joined = runRow(row, true);
        EXPECT_EQ(joined.played, apart.played);
        EXPECT_EQ(joined.messages, apart.messages);
        EXPECT_EQ(joined.playedCount, apart.playedCount);
        // A joined song is never opened: the first song's end opens nothing.
        ASSERT_GE(joined.played.size(), 1u);
        const int opens = count(joined.log, "open:");
        if (row.joinsFirstEnd) {
            EXPECT_EQ(opens, 1);
            EXPECT_EQ(count(joined.log, "prepare:"), static_cast<int>(joined.played.size()) - 1);
        }
        EXPECT_EQ(count(joined.log, "prepare:") > 0, row.prepares);
    }
}
