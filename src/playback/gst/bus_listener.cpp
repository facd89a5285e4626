#include "playback/gst/bus_listener.h"

#include <utility>

namespace {
void deleteHolder(gpointer data) {
    delete static_cast<std::shared_ptr<BusListener>*>(data);
}
}  // namespace

std::shared_ptr<BusListener> BusListener::install(GstBus* bus) {
    auto listener = std::make_shared<BusListener>();
    gst_bus_set_sync_handler(bus, &BusListener::onMessage,
                             new std::shared_ptr<BusListener>(listener), deleteHolder);
    return listener;
}

bool BusListener::isKept(GstMessageType type) {
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

void BusListener::setNotify(GraphNotifyFn notify) {
    std::lock_guard lock(mutex_);
    notify_ = std::move(notify);
}

void BusListener::setCollectingTags(bool collecting) {
    std::lock_guard lock(mutex_);
    collecting_ = collecting;
}

GstTagListPtr BusListener::tags() const {
    std::lock_guard lock(mutex_);
    return GstTagListPtr(tags_ ? gst_tag_list_copy(tags_.get()) : nullptr);
}

GstMessagePtr BusListener::takeFirst(GstMessageType types) {
    for (auto it = queue_.begin(); it != queue_.end(); ++it) {
        if (GST_MESSAGE_TYPE(it->get()) & types) {
            GstMessagePtr message = std::move(*it);
            queue_.erase(it);
            return message;
        }
    }
    return nullptr;
}

GstMessagePtr BusListener::pop() {
    std::lock_guard lock(mutex_);
    if (GstMessagePtr ending =
            takeFirst(static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)))
        return ending;
    if (queue_.empty())
        return nullptr;
    GstMessagePtr first = std::move(queue_.front());
    queue_.pop_front();
    return first;
}

GstMessagePtr BusListener::waitFor(GstMessageType types, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    GstMessagePtr found;
    queued_.wait_for(lock, timeout, [&] { return (found = takeFirst(types)) != nullptr; });
    return found;
}

void BusListener::clear() {
    std::deque<GstMessagePtr> dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(queue_);
}

void BusListener::dropEnds() {
    auto ends = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR);
    std::deque<GstMessagePtr> dropped;
    std::lock_guard lock(mutex_);
    while (GstMessagePtr message = takeFirst(ends))
        dropped.push_back(std::move(message));
}

std::size_t BusListener::pending() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void BusListener::collect(GstMessage* message) {
    GstTagList* received = nullptr;
    gst_message_parse_tag(message, &received);
    GstTagListPtr owned(received);
    std::lock_guard lock(mutex_);
    if (!collecting_ || !owned)
        return;
    if (!tags_)
        tags_.reset(gst_tag_list_new_empty());
    // Keep what came first: the container's tags precede those of the streams.
    gst_tag_list_insert(tags_.get(), owned.get(), GST_TAG_MERGE_KEEP);
}

// Runs on whichever thread posts. A sync handler that answers GST_BUS_DROP owns the
// message: a kept one moves into the queue, every other one is released here. A message
// left unreleased would hold its source element, and through it the whole pipeline with
// its bus and poll descriptors, for the rest of the process.
GstBusSyncReply BusListener::onMessage(GstBus*, GstMessage* message, gpointer data) {
    GstMessagePtr owned(message);
    BusListener& self = **static_cast<std::shared_ptr<BusListener>*>(data);
    GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_TAG)
        self.collect(message);
    if (!isKept(type))
        return GST_BUS_DROP;
    GraphNotifyFn notify;
    {
        std::lock_guard lock(self.mutex_);
        self.queue_.push_back(std::move(owned));
        notify = self.notify_;
    }
    self.queued_.notify_all();
    if (notify)
        notify();
    return GST_BUS_DROP;
}
