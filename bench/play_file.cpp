// Plays one media file through MediaGraph, the way the player plays a song, to its end and
// exits: 0 when the song completed, 1 on an error. The sound goes to VORN_AUDIO_SINK
// ("fakesink sync=true" unless set), so the run takes the song's duration and its CPU time
// is what playing the file costs. Used by play_cpu.sh.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "app/core/plugin_registration.h"
#include "app/gst/gst_init.h"
#include "playback/gst/media_graph.h"

namespace {

// Wakes the waiting main thread whenever the graph has a bus message for it.
class EventSignal {
  public:
    void notify() {
        {
            std::lock_guard lock(mutex_);
            pending_ = true;
        }
        condition_.notify_one();
    }
    void wait(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        condition_.wait_for(lock, limit, [this] { return pending_; });
        pending_ = false;
    }

  private:
    std::mutex mutex_;
    std::condition_variable condition_;
    bool pending_ = false;
};

int playToEnd(MediaGraph& graph, const char* path) {
    if (graph.Open(path, true) != 0) {
        std::fprintf(stderr, "%s: %s\n", path, graph.GetErrorText(256).c_str());
        return 1;
    }
    EventSignal signal;
    graph.SetNotifyWindow([&signal] { signal.notify(); });
    if (graph.Run(nullptr) != 0) {
        std::fprintf(stderr, "%s: can't run: %s\n", path, graph.GetErrorText(256).c_str());
        return 1;
    }
    for (;;) {
        signal.wait(std::chrono::milliseconds(200));
        int event = 0;
        while ((event = graph.PollEvent()) == 0 && graph.pendingEvents() > 0) {
        }
        if (event == 1)
            return 0;
        if (event == 2 || event == 3 || event < 0) {
            std::fprintf(stderr, "%s: %s\n", path, graph.GetErrorText(256).c_str());
            return 1;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    setenv("VORN_AUDIO_SINK", "fakesink sync=true", 0);
    ensureGstInitialised();
    registerPlugin();
    int status = 0;
    {
        MediaGraph graph;
        if (!graph.hasNullRenderer())
            std::fprintf(stderr, "warning: no discard renderer\n");
        status = playToEnd(graph, argv[1]);
    }
    unregisterPlugin();
    return status;
}
