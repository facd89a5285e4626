#include "playback/media_probe.h"

#include "playback/gst_init.h"
#include "playback/media_graph.h"

SongProbeFactory makeMediaProbeFactory() {
    return []() -> std::unique_ptr<SongProbe> {
        ensureGstInitialised();
        return std::make_unique<MediaGraph>(MediaGraph::Mode::Probe);
    };
}
