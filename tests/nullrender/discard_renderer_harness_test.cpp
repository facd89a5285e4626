// The discard renderer alone, driven buffer by buffer through GstHarness on a test clock.
#include <gst/check/gstharness.h>
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <thread>
#include <vector>

#include "app/gst/gst_init.h"
#include "app/gst/gst_ptr.h"

namespace {

struct HarnessFree {
    void operator()(GstHarness* harness) const { gst_harness_teardown(harness); }
};
using HarnessPtr = std::unique_ptr<GstHarness, HarnessFree>;

class DiscardHarnessTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureGstInitialised(); }

    void SetUp() override {
        harness.reset(gst_harness_new("zarvexsink"));
        ASSERT_TRUE(harness) << "zarvexsink not found on GST_PLUGIN_PATH";
        gst_element_set_bus(harness->element, bus.get());
    }

    // What a stream of `caps` gets: the answer to its first frame.
    GstFlowReturn offer(const char* caps) {
        GstCapsPtr parsed(gst_caps_from_string(caps));
        EXPECT_FALSE(gst_pad_peer_query_accept_caps(harness->srcpad, parsed.get()));
        gst_harness_set_src_caps_str(harness.get(), caps);
        gst_harness_play(harness.get());
        return gst_harness_push(harness.get(), frameAt(0));
    }

    static GstBuffer* frameAt(GstClockTime pts) {
        GstBuffer* buffer = gst_buffer_new_allocate(nullptr, 64, nullptr);
        GST_BUFFER_PTS(buffer) = pts;
        GST_BUFFER_DURATION(buffer) = 40 * GST_MSECOND;
        return buffer;
    }

    HarnessPtr harness;
    GstBusPtr bus{gst_bus_new()};
};

TEST_F(DiscardHarnessTest, RefusesSoundAndText) {
    EXPECT_EQ(offer("audio/x-raw,format=S16LE,rate=44100,channels=2,layout=interleaved"),
              GST_FLOW_NOT_NEGOTIATED);
    harness.reset(gst_harness_new("zarvexsink"));
    EXPECT_EQ(offer("text/x-raw,format=utf8"), GST_FLOW_NOT_NEGOTIATED);
}

TEST_F(DiscardHarnessTest, TakesCompressedPicturesAndRawVideo) {
    for (const char* caps : {"image/jpeg,width=64,height=48,framerate=25/1",
                             "video/x-raw,format=I420,width=64,height=48,framerate=25/1"}) {
        SCOPED_TRACE(caps);
        harness.reset(gst_harness_new("zarvexsink"));
        gst_harness_set_src_caps_str(harness.get(), caps);
        gst_harness_play(harness.get());
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(gst_harness_push(harness.get(), frameAt(i * 40 * GST_MSECOND)), GST_FLOW_OK);
    }
}

// Each frame waits on the pipeline clock for the start of its 100 ms slice, which has
// passed already for every frame of a slice but its first: the stream keeps its pace with a
// few wake-ups a second.
TEST_F(DiscardHarnessTest, KeepsPresentationPaceSliceBySlice) {
    g_object_set(harness->element, "sync", TRUE, nullptr);  // the harness turns it off
    gst_harness_set_src_caps_str(harness.get(), "image/jpeg,width=64,height=48,framerate=25/1");
    gst_harness_play(harness.get());
    const GstClockTime frames[] = {550 * GST_MSECOND, 590 * GST_MSECOND, 630 * GST_MSECOND};
    std::thread pusher([&] {
        for (GstClockTime pts : frames)
            gst_harness_push(harness.get(), frameAt(pts));
    });
    GstTestClock* clock = gst_harness_get_testclock(harness.get());
    std::vector<GstClockTime> waits;
    for (std::size_t i = 0; i < std::size(frames); ++i) {
        GstClockID pending = nullptr;
        if (!gst_test_clock_timed_wait_for_multiple_pending_ids(clock, 1, 5000, nullptr))
            break;
        gst_test_clock_peek_next_pending_id(clock, &pending);
        waits.push_back(gst_clock_id_get_time(pending));
        gst_clock_id_unref(pending);
        gst_harness_crank_single_clock_wait(harness.get());
    }
    if (waits.size() < std::size(frames))
        gst_harness_set_time(harness.get(), GST_SECOND);
    pusher.join();
    gst_object_unref(clock);
    EXPECT_EQ(waits,
              (std::vector<GstClockTime>{500 * GST_MSECOND, 500 * GST_MSECOND, 600 * GST_MSECOND}));
}

TEST_F(DiscardHarnessTest, PostsEndOfStream) {
    gst_harness_set_src_caps_str(harness.get(), "video/x-vp8,width=64,height=48");
    gst_harness_play(harness.get());
    ASSERT_EQ(gst_harness_push(harness.get(), frameAt(0)), GST_FLOW_OK);
    ASSERT_TRUE(gst_harness_push_event(harness.get(), gst_event_new_eos()));
    GstMessagePtr end(gst_bus_timed_pop_filtered(bus.get(), 5 * GST_SECOND, GST_MESSAGE_EOS));
    EXPECT_TRUE(end);
}

}  // namespace
