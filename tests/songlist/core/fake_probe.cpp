#include "fake_probe.h"

#include <unistd.h>

FakeProbe::FakeProbe(std::shared_ptr<FakeProbeState> state) : state_(std::move(state)) {
    ++state_->created;
}

FakeProbe::~FakeProbe() {
    ++state_->destroyed;
}

int FakeProbe::Open(const std::string& path, bool /*withNullRenderer*/) {
    {
        std::lock_guard guard(state_->lock);
        state_->opened.push_back(path);
    }
    if (state_->onOpen)
        state_->onOpen(path);
    name_ = path.substr(path.find_last_of('/') + 1);
    if (name_.find("bad") != std::string::npos || access(path.c_str(), F_OK) != 0)
        return -1;
    return 0;
}

int FakeProbe::GetContentText(int kind, std::string& text) {
    if (name_.find("noinfo") != std::string::npos)
        return -2;
    if (name_.find("long") != std::string::npos) {
        // 299 ASCII bytes and one 3-byte character straddling the 255-byte limit.
        text = std::string(254, kind == 1 ? 'a' : 't') + "\xE3\x81\x82" + std::string(43, 'z');
        return 0;
    }
    text = (kind == 1 ? "A:" : "T:") + name_;
    return 0;
}

SongProbeFactory fakeProbeFactory(std::shared_ptr<FakeProbeState> state) {
    return [state] { return std::make_unique<FakeProbe>(state); };
}
