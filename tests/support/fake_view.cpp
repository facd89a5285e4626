#include "support/fake_view.h"

#include <algorithm>

namespace testsupport {

void FakeTimers::startTimer(TimerId id, int periodMs) {
    const int period = std::max(periodMs, 1);
    due_[id] = {period, nowMs_ + period};
}

bool FakeTimers::next(TimerId& id, std::int64_t& at) const {
    bool found = false;
    for (const auto& [timer, due] : due_) {
        if (!found || due.at < at) {
            id = timer;
            at = due.at;
            found = true;
        }
    }
    return found;
}

void FakeTimers::fired(TimerId id) {
    auto it = due_.find(id);
    if (it != due_.end())
        it->second.at += it->second.period;
}

void FakeView::postPlayIndex(int index) {
    posted_.push_back(index);
}

bool FakeView::takePosted(int& index) {
    if (posted_.empty())
        return false;
    index = posted_.front();
    posted_.pop_front();
    return true;
}

}  // namespace testsupport
