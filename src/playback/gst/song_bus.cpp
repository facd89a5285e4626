#include "playback/gst/song_bus.h"

#include <gst/pbutils/pbutils.h>

#include <algorithm>
#include <utility>

namespace {
template <typename State>
void deleteHolder(gpointer data) {
    delete static_cast<std::shared_ptr<State>*>(data);
}

// A message announced by the sync handler reaches the bus's queue as soon as the handler
// returns; this bound only guards against a bus flushed in between.
constexpr GstClockTime kAnnouncedWait = GST_SECOND;

// Marks an announced message; the mark's data is a holder of the handler's state.
GQuark announcedMark() {
    static const GQuark quark = g_quark_from_static_string("vorn-song-bus-announced");
    return quark;
}
}  // namespace

SongBus::SongBus(GstBus* bus)
    : bus_(GST_BUS(gst_object_ref(bus))), state_(std::make_shared<HandlerState>()) {
    gst_bus_set_sync_handler(bus, &SongBus::onMessage, new std::shared_ptr<HandlerState>(state_),
                             deleteHolder<HandlerState>);
}

SongBus::~SongBus() {
    setNotify({});
    clear();
}

bool SongBus::isKept(GstMessageType type) {
    switch (type) {
        case GST_MESSAGE_EOS:
        case GST_MESSAGE_ERROR:
        case GST_MESSAGE_WARNING:
        case GST_MESSAGE_ASYNC_DONE:
        case GST_MESSAGE_CLOCK_LOST:
        case GST_MESSAGE_DURATION_CHANGED:
        case GST_MESSAGE_APPLICATION:
            return true;
        default:
            return false;
    }
}

void SongBus::setNotify(GraphNotifyFn notify) {
    std::lock_guard lock(state_->mutex);
    state_->notify = std::move(notify);
}

void SongBus::setCollectingTags(bool collecting) {
    std::lock_guard lock(state_->mutex);
    state_->collecting = collecting;
}

GstTagListPtr SongBus::tags() const {
    std::lock_guard lock(state_->mutex);
    return GstTagListPtr(state_->tags ? gst_tag_list_copy(state_->tags.get()) : nullptr);
}

std::vector<std::string> SongBus::missingPlugins() const {
    std::lock_guard lock(state_->mutex);
    return state_->missing;
}

// Each announced message carries a mark that lowers the count exactly once: taken here
// (stolen, so releasing it later does nothing), or else when the message is released
// untaken (a flush). A message still on its way to the queue is counted until then, and
// no other message lowers the count, so it can neither lose an announced message nor
// fall below zero.
void SongBus::forgetAnnounced(gpointer holder) {
    auto* state = static_cast<std::shared_ptr<HandlerState>*>(holder);
    (*state)->posted.fetch_sub(1);
    delete state;
}

GstMessagePtr SongBus::take(GstClockTime timeout) {
    GstMessagePtr message(gst_bus_timed_pop(bus_.get(), timeout));
    if (message) {
        if (gpointer holder =
                gst_mini_object_steal_qdata(GST_MINI_OBJECT_CAST(message.get()), announcedMark()))
            forgetAnnounced(holder);
    }
    return message;
}

GstMessagePtr SongBus::pop() {
    return take(state_->posted.load() > 0 ? kAnnouncedWait : 0);
}

GstMessagePtr SongBus::waitFor(GstMessageType types, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= left.zero())
            return nullptr;
        const auto leftNs = std::chrono::duration_cast<std::chrono::nanoseconds>(left);
        GstMessagePtr message = take(static_cast<GstClockTime>(leftNs.count()));
        if (!message)
            return nullptr;
        if (GST_MESSAGE_TYPE(message.get()) & types)
            return message;
    }
}

void SongBus::clear() {
    while (take(0)) {
    }
}

// The flush releases the queued messages, and with them their counts.
void SongBus::restart() {
    gst_bus_set_flushing(bus_.get(), TRUE);
    gst_bus_set_flushing(bus_.get(), FALSE);
    std::lock_guard lock(state_->mutex);
    state_->tags.reset();
    state_->missing.clear();
    state_->collecting = true;
}

void SongBus::collect(HandlerState& state, GstMessage* message) {
    GstTagList* received = nullptr;
    gst_message_parse_tag(message, &received);
    GstTagListPtr owned(received);
    std::lock_guard lock(state.mutex);
    if (!state.collecting || !owned)
        return;
    if (!state.tags)
        state.tags.reset(gst_tag_list_new_empty());
    // Keep what came first: the container's tags precede those of the streams.
    gst_tag_list_insert(state.tags.get(), owned.get(), GST_TAG_MERGE_KEEP);
}

void SongBus::noteMissingPlugin(HandlerState& state, GstMessage* message) {
    if (!gst_is_missing_plugin_message(message))
        return;
    gst_pb_utils_init();  // the descriptions' texts; does nothing after the first call
    GCharPtr description(gst_missing_plugin_message_get_description(message));
    if (!description)
        return;
    const std::string text = description.get();
    std::lock_guard lock(state.mutex);
    if (std::find(state.missing.begin(), state.missing.end(), text) == state.missing.end())
        state.missing.push_back(text);
}

// Runs on whichever thread posts. A handler that answers GST_BUS_DROP owns the message
// and releases it here: a message left unreleased would hold its source element, and
// through it the whole pipeline with its bus and poll descriptors. A kept message passes
// to the bus's queue, which owns it from then on.
GstBusSyncReply SongBus::onMessage(GstBus*, GstMessage* message, gpointer data) {
    const std::shared_ptr<HandlerState>& holder =
        *static_cast<std::shared_ptr<HandlerState>*>(data);
    HandlerState& state = *holder;
    GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_TAG)
        collect(state, message);
    else if (type == GST_MESSAGE_ELEMENT)
        noteMissingPlugin(state, message);
    if (!isKept(type)) {
        gst_message_unref(message);
        return GST_BUS_DROP;
    }
    GraphNotifyFn notify;
    {
        std::lock_guard lock(state.mutex);
        notify = state.notify;
    }
    state.posted.fetch_add(1);
    gst_mini_object_set_qdata(GST_MINI_OBJECT_CAST(message), announcedMark(),
                              new std::shared_ptr<HandlerState>(holder), &SongBus::forgetAnnounced);
    if (notify)
        notify();
    return GST_BUS_PASS;
}
