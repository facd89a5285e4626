// The one rule behind the menu's Previous and Next and the desktop's CanGoPrevious and
// CanGoNext: would the command start another song now?
#include "playback/core/session_moves.h"

#include <gtest/gtest.h>

TEST(SessionMoves, NextAndPreviousOnlyWhereTheyWouldStartASong) {
    struct Row {
        SessionPlace place;
        bool next, previous;
    };
    // in session, current, count, played, searching, random, endless, playCnt
    const Row rows[] = {
        {{false, 0, 3, 1, false, false, false, 0}, false, false},  // no session
        {{true, -1, 3, 0, true, false, false, 0}, false, false},   // before the first song
        {{true, 0, 3, 1, false, false, false, 0}, true, false},    // in order, first
        {{true, 1, 3, 2, false, false, false, 0}, true, true},
        {{true, 2, 3, 3, false, false, false, 0}, false, true},   // last, search ended
        {{true, 2, 3, 3, true, false, false, 0}, false, true},    // last, more may come
        {{true, 2, 3, 3, false, false, true, 0}, true, true},     // endless wraps round
        {{true, 0, 3, 1, false, false, false, 1}, false, false},  // playCnt reached
        {{true, 0, 3, 1, false, false, true, 1}, true, false},    // endless ignores playCnt
        {{true, 0, 5, 3, false, true, false, 0}, true, false},    // random, more allowed
        {{true, 0, 5, 4, false, true, false, 0}, false, false},   // random, n - 1 played
        {{true, 0, 5, 4, true, true, false, 0}, true, false},     // ... while searching
        {{true, 0, 1, 1, true, true, true, 0}, false, false},     // only the current song
        {{true, 0, 2, 9, false, true, true, 0}, true, false},     // endless at random
    };
    for (const Row& row : rows) {
        const SessionPlace& p = row.place;
        EXPECT_EQ(canGoNext(p), row.next) << p.currentIndex << "/" << p.count << " played "
                                          << p.playedCount << " random " << p.random;
        EXPECT_EQ(canGoPrevious(p), row.previous) << p.currentIndex << "/" << p.count;
    }
}
