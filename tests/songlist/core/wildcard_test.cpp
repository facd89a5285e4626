#include "songlist/core/wildcard.h"

#include <gtest/gtest.h>

TEST(Wildcard, StarAndQuestionMark) {
    EXPECT_TRUE(wildcardMatch("*.wav", "song.wav"));
    EXPECT_TRUE(wildcardMatch("*.wav", ".wav"));
    EXPECT_FALSE(wildcardMatch("*.wav", "song.wav.txt"));
    EXPECT_FALSE(wildcardMatch("*.wav", "song.wave"));
    EXPECT_TRUE(wildcardMatch("*", ".hidden"));
    EXPECT_TRUE(wildcardMatch("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(wildcardMatch("a*b*c", "aXbYbZ"));
    EXPECT_TRUE(wildcardMatch("**x", "x"));
    EXPECT_TRUE(wildcardMatch("s?ng.mp3", "song.mp3"));
    EXPECT_FALSE(wildcardMatch("s?ng.mp3", "sng.mp3"));
    EXPECT_FALSE(wildcardMatch("?", ""));
}

TEST(Wildcard, AsciiLettersIgnoreCase) {
    EXPECT_TRUE(wildcardMatch("*.WAV", "Song.wav"));
    EXPECT_TRUE(wildcardMatch("*.mp3", "LOUD.MP3"));
    EXPECT_FALSE(wildcardMatch("*.mp3", "x.mp4"));
}

TEST(Wildcard, EmptyAndBlankPatterns) {
    EXPECT_FALSE(wildcardMatch("", ""));
    EXPECT_FALSE(wildcardMatch("", "a.wav"));
    EXPECT_TRUE(wildcardMatch(" *.mp3", " a.mp3"));
    EXPECT_FALSE(wildcardMatch(" *.mp3", "a.mp3"));
}

TEST(Wildcard, NamesAreBytes) {
    // '?' stands for one whole UTF-8 character ("あ" is three bytes).
    EXPECT_TRUE(wildcardMatch("?.wav", "\xE3\x81\x82.wav"));
    EXPECT_TRUE(wildcardMatch("*\xE3\x81\x82*", "x\xE3\x81\x82y.mp3"));
    // Bytes that are not UTF-8 are matched one by one.
    EXPECT_TRUE(wildcardMatch("*.wav", "\xFF\xFE.wav"));
    EXPECT_TRUE(wildcardMatch("??.wav", "\xFF\xFE.wav"));
    EXPECT_FALSE(wildcardMatch("?.wav", "\xFF\xFE.wav"));
}
