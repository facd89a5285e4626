// The pure rules of the sequencer: the random generator, the reduction of a draw to an
// index, and what a position tick shows.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "playback/core/play_sequencer.h"
#include "playback/core/rand_generator.h"

TEST(RandGenerator, FollowsTheLinearCongruentialSequence) {
    RandGenerator seededWithOne(1);
    for (int expected : {41, 18467, 6334, 26500, 19169})
        EXPECT_EQ(seededWithOne.draw(), expected);

    // The state wraps modulo 2^32 and every draw stays in 0..32767.
    RandGenerator wrapping(0xffffffffu);
    for (int i = 0; i < 1000; ++i) {
        const int r = wrapping.draw();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, RandGenerator::kMax);
    }
}

TEST(RandomIndex, ReducesADrawToTheList) {
    EXPECT_EQ(randomIndexFor(45, 7), 4);        // 45 / 10 = 4 fits
    EXPECT_EQ(randomIndexFor(3000, 7), 6);      // 300 mod 7
    EXPECT_EQ(randomIndexFor(1000, 300), 100);  // large lists: plain modulo
    EXPECT_EQ(randomIndexFor(5, 7), 5);         // a draw that fits is taken as it is
    EXPECT_EQ(randomIndexFor(11, 11), 0);       // 11 songs: modulo, not the tenth
    EXPECT_EQ(randomIndexFor(10, 10), 1);       // ten songs: the tenth
    EXPECT_EQ(randomIndexFor(32767, 1), 0);
}

TEST(PositionTick, ClockTextAndSliderPosition) {
    EXPECT_EQ(formatClock(83.9), "01:23");
    EXPECT_EQ(formatClock(0), "00:00");
    EXPECT_EQ(formatClock(6000), "100:00");  // minutes are not cut to two digits
    EXPECT_EQ(formatClock(-1), "00:00");
    EXPECT_EQ(formatClock(std::numeric_limits<double>::quiet_NaN()), "00:00");

    EXPECT_EQ(sliderPositionFor(83, 296), 28);
    EXPECT_EQ(sliderPositionFor(296, 296), 100);
    EXPECT_EQ(sliderPositionFor(400, 296), 100);
    // An unknown duration leaves the slider at its start.
    EXPECT_EQ(sliderPositionFor(10, 0), 0);
    EXPECT_EQ(sliderPositionFor(10, -1), 0);
    EXPECT_EQ(sliderPositionFor(std::numeric_limits<double>::infinity(), 10), 100);
    EXPECT_EQ(sliderPositionFor(std::numeric_limits<double>::quiet_NaN(), 10), 0);
}

TEST(TimerPeriod, SecondsToMillisecondsWithoutOverflow) {
    EXPECT_EQ(periodForSeconds(3), 3000);
    EXPECT_EQ(periodForSeconds(5000000), std::numeric_limits<int>::max());
    EXPECT_EQ(periodForSeconds(-2), 0);
}
