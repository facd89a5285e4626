#pragma once
// Reads the message a second start sends the running player over the local socket, in
// the form QDataStream gives a list of byte arrays: a 32-bit big-endian count, then per
// path a 32-bit big-endian length and its bytes. The bytes are taken as they arrive and
// each is looked at once, within limits far above what a command line carries, so a
// client can't make the player parse or hold more than that.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class HandoverReader {
  public:
    static constexpr std::size_t kMaxBytes = 4u << 20;
    static constexpr std::uint32_t kMaxPaths = 65536;

    enum class State { Reading, Done, Refused };

    // Takes the next bytes of the message; bytes after a whole message are ignored.
    State feed(const char* data, std::size_t size);
    State state() const { return state_; }
    // The paths of a whole message.
    std::vector<std::string> takePaths() { return std::move(paths_); }

  private:
    // Gathers a 32-bit word; true once it is whole.
    bool readWord(const char*& data, const char* end);

    State state_ = State::Reading;
    std::size_t bytes_ = 0;
    std::uint32_t word_ = 0;
    int wordBytes_ = 0;
    bool haveCount_ = false;
    std::uint32_t count_ = 0;
    bool haveLength_ = false;
    std::uint32_t length_ = 0;
    std::string path_;
    std::vector<std::string> paths_;
};
