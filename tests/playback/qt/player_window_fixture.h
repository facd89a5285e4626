#pragma once
// A player window over the fake graph and the catalogue's probes, with helpers to run a
// session.
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "playback/core/play_sequencer.h"
#include "playback/qt/player_window.h"
#include "recording_host.h"
#include "songlist/core/song_list.h"
#include "support/fake_player.h"
#include "support/song_catalogue.h"

namespace pwtest {

using testsupport::lasting;

class PlayerWindowTest : public ::testing::Test {
  protected:
    PlayerWindowTest() {
        auto graph = std::make_unique<testsupport::FakePlayer>(catalogue);
        player = graph.get();
        window = std::make_unique<PlayerWindow>(host, std::move(graph), catalogue.probeFactory());
    }

    // Adds the songs to the catalogue and returns the File selection "a|b|...".
    std::string songs(const std::vector<std::string>& paths, testsupport::SongSpec song = {}) {
        std::string selection;
        for (const std::string& path : paths) {
            catalogue.add(path, song);
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
    testsupport::SongCatalogue catalogue;
    testsupport::FakePlayer* player = nullptr;
    std::unique_ptr<PlayerWindow> window;
};

}  // namespace pwtest
