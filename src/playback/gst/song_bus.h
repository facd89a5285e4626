#pragma once
// One pipeline's bus, which is itself the queue of the messages its owner takes. A sync
// handler does only what must happen on the posting thread: it drops every message the
// owner never takes (so none can pile up or hold the pipeline), gathers the tags posted
// until the owner stops collecting them and the descriptions of missing plug-ins (which
// arrive as element messages, otherwise dropped), and tells the owner of each kept
// message.
#include <gst/gst.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/gst/gst_ptr.h"
#include "playback/core/player.h"

class SongBus {
  public:
    // Watches `bus` (borrowed; the bus takes a reference of its own for this object).
    explicit SongBus(GstBus* bus);
    ~SongBus();
    SongBus(const SongBus&) = delete;
    SongBus& operator=(const SongBus&) = delete;

    // The messages left on the bus for the owner; every other one is dropped as posted.
    static bool isKept(GstMessageType type);

    // Called on the posting thread for each kept message, at most a moment before the
    // message can be taken.
    void setNotify(GraphNotifyFn notify);
    void setCollectingTags(bool collecting);
    // A copy of the tags gathered so far, or nullptr when no tag message arrived.
    GstTagListPtr tags() const;
    // What the pipeline said it lacks so far ("FLAC decoder"...), each description once,
    // in the order posted.
    std::vector<std::string> missingPlugins() const;

    // Takes the oldest kept message, nullptr when none is posted. A message already
    // announced (notified) is waited for, so a notification never finds an empty bus.
    GstMessagePtr pop();
    // Waits up to `timeout` for a message whose type is in `types` and returns it; the
    // kept messages of other types posted meanwhile are dropped. nullptr on time-out.
    GstMessagePtr waitFor(GstMessageType types, std::chrono::milliseconds timeout);
    // Drops every posted message.
    void clear();
    // For the next file in the same pipeline (its streaming threads stopped): drops every
    // posted message, the gathered tags and the missing plug-ins, and collects tags again.
    void restart();
    // Kept messages announced and neither taken nor released untaken (by a flush).
    std::size_t pending() const { return state_->posted.load(); }

  private:
    // What the sync handler needs; the bus holds it as long as it may call the handler.
    struct HandlerState {
        std::atomic<std::size_t> posted{0};  // announced messages still alive and untaken
        mutable std::mutex mutex;
        GraphNotifyFn notify;
        bool collecting = true;
        GstTagListPtr tags;
        std::vector<std::string> missing;
    };
    static GstBusSyncReply onMessage(GstBus* bus, GstMessage* message, gpointer data);
    static void collect(HandlerState& state, GstMessage* message);
    static void noteMissingPlugin(HandlerState& state, GstMessage* message);
    // Lowers the count for one announced message; `holder` is the mark's state holder.
    static void forgetAnnounced(gpointer holder);
    GstMessagePtr take(GstClockTime timeout);

    GstBusPtr bus_;
    std::shared_ptr<HandlerState> state_;
};
