#pragma once
// Shared set-up of the media graph suites: GStreamer initialised, a temporary folder for
// generated media, the sound going to a synchronised fakesink.
#include <gtest/gtest.h>

#include <gst/gst.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "app/gst/gst_init.h"
#include "playback/gst/bin_walk.h"
#include "playback/gst/media_graph.h"
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

    // True when any element of the pipeline, inside its bins too, is a video or picture
    // decoder by its factory's class.
    static bool hasVideoDecoder(GstElement* pipeline) {
        return binHoldsElementOf(pipeline, [](GstElementFactory* factory) {
            const char* klass =
                gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
            std::string_view kind = klass ? klass : "";
            return kind.find("Decoder") != kind.npos &&
                   (kind.find("Video") != kind.npos || kind.find("Image") != kind.npos);
        });
    }

    // The caps name on the discard renderer's input ("" when it is unlinked or has none).
    static std::string rendererInput(GstElement* pipeline) {
        GstElementPtr renderer(gst_bin_get_by_name(GST_BIN(pipeline), "NULL Video (tavik)"));
        GstPadPtr sink(renderer ? gst_element_get_static_pad(renderer.get(), "sink") : nullptr);
        GstCapsPtr caps(sink && gst_pad_is_linked(sink.get()) ? gst_pad_get_current_caps(sink.get())
                                                              : nullptr);
        if (!caps || gst_caps_is_empty(caps.get()))
            return "";
        return gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
    }

    testsupport::TempDir dir;
};

using Clock = std::chrono::steady_clock;
inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}
