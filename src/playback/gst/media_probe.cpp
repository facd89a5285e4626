#include "playback/gst/media_probe.h"

#include "app/gst/gst_init.h"
#include "playback/gst/media_graph.h"

SongProbeFactory makeMediaProbeFactory() {
    return []() -> std::unique_ptr<SongProbe> {
        ensureGstInitialised();
        return std::make_unique<MediaGraph>(MediaGraph::Mode::Probe);
    };
}
