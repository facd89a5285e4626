#pragma once
// Watches one pipeline's bus from GStreamer's threads. It queues only the messages the
// owner takes with PollEvent (every other one is dropped at once, so none can pile up or
// get in the way), tells the owner once per queued message, after queueing it, and gathers
// the tags posted until the owner stops collecting them.
#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>

#include "app/gst/gst_ptr.h"
#include "playback/core/player.h"

class BusListener {
  public:
    // Installs a new listener as `bus`'s sync handler; the bus keeps it alive as long as
    // it may still call it.
    static std::shared_ptr<BusListener> install(GstBus* bus);

    // Messages queued for the owner; every other one is dropped.
    static bool isKept(GstMessageType type);

    void setNotify(GraphNotifyFn notify);
    void setCollectingTags(bool collecting);
    // A copy of the tags gathered so far, or nullptr when no tag message arrived.
    GstTagListPtr tags() const;

    // Takes one queued message: an end of stream or an error before anything else, so
    // they are never held up behind other messages. nullptr when none is queued.
    GstMessagePtr pop();
    // Waits up to `timeout` for a queued message whose type is in `types`, takes it out
    // and returns it; other messages stay queued. nullptr on time-out.
    GstMessagePtr waitFor(GstMessageType types, std::chrono::milliseconds timeout);
    void clear();
    // Drops the queued ends of stream and errors, keeping every other message.
    void dropEnds();
    std::size_t pending() const;

  private:
    static GstBusSyncReply onMessage(GstBus* bus, GstMessage* message, gpointer data);
    void collect(GstMessage* message);
    GstMessagePtr takeFirst(GstMessageType types);

    mutable std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<GstMessagePtr> queue_;
    GraphNotifyFn notify_;
    bool collecting_ = true;
    GstTagListPtr tags_;
};
