#pragma once
// A player window over the scripted graph and probe, with helpers to run a session.
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "playback/core/play_sequencer.h"
#include "playback/qt/player_window.h"
#include "player_window_fakes.h"
#include "songlist/core/song_list.h"

namespace pwtest {

class PlayerWindowTest : public ::testing::Test {
  protected:
    PlayerWindowTest() {
        auto graph = std::make_unique<ScriptedPlayer>(book);
        player = graph.get();
        window = std::make_unique<PlayerWindow>(host, std::move(graph), book.probeFactory());
    }

    // Adds the songs to the book and returns the File selection "a|b|...".
    std::string songs(const std::vector<std::string>& paths, SongBook::Song song = {}) {
        std::string selection;
        for (const std::string& path : paths) {
            book.add(path, song);
            selection += path + "|";
        }
        return selection;
    }

    // Starts a session over `count` files and waits until the first song plays.
    void startPlaying(const std::string& selection, int count) {
        ASSERT_EQ(window->startSession(selection, File), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->songList().count() == count; }, 5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->sequencer().currentIndex() >= 0; }, 5000));
    }

    RecordingHost host;
    SongBook book;
    ScriptedPlayer* player = nullptr;
    std::unique_ptr<PlayerWindow> window;
};

}  // namespace pwtest
