#pragma once
// A probe standing in for the media graph: it accepts every existing file whose name does
// not contain "bad", and offers "A:<name>" and "T:<name>" as author and title. Names
// containing "noinfo" offer no texts, names containing "long" offer 300-byte texts.
// Hooks let a test act while the search sits inside Open.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "songlist/core/song_probe.h"

struct FakeProbeState {
    std::mutex lock;
    std::vector<std::string> opened;  // every path handed to Open, in order
    std::atomic<int> created{0};
    std::atomic<int> destroyed{0};
    std::function<void(const std::string& path)> onOpen;  // runs inside Open, unlocked

    std::vector<std::string> openedPaths() {
        std::lock_guard guard(lock);
        return opened;
    }
};

class FakeProbe : public SongProbe {
  public:
    explicit FakeProbe(std::shared_ptr<FakeProbeState> state);
    ~FakeProbe() override;
    int Open(const std::string& path, bool withNullRenderer) override;
    int GetContentText(int kind, std::string& text) override;

  private:
    std::shared_ptr<FakeProbeState> state_;
    std::string name_;
};

SongProbeFactory fakeProbeFactory(std::shared_ptr<FakeProbeState> state);
