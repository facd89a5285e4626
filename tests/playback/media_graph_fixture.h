#pragma once
// Shared set-up of the media graph suites: GStreamer initialised, a temporary folder for
// generated media, the sound going to a synchronised fakesink.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "playback/gst_init.h"
#include "playback/media_graph.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

class MediaGraphTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("VORN_AUDIO_SINK", "fakesink sync=true", 0);  // never a sound device
        ensureGstInitialised();
    }

    // Polls until an event other than 0 arrives or `seconds` pass; 0 on time-out.
    static int waitForEvent(MediaGraph& graph, double seconds) {
        auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < until) {
            int event = graph.PollEvent();
            if (event != 0)
                return event;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    }

    // Skips the calling test when the discard renderer's plug-in can't be found.
    static bool rendererMissing(const MediaGraph& graph) { return !graph.hasNullRenderer(); }

    testsupport::TempDir dir;
};

using Clock = std::chrono::steady_clock;
inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}
