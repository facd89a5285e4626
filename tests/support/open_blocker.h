#pragma once
// Makes every open() of a file block for real, as on a network mount that stopped
// answering, while stat() still answers: a write lease held on it. An open waits until
// the lease is let go (or the kernel's lease-break-time, 45 s by default, has passed).
#include <string>

namespace testsupport {

class OpenBlocker {
  public:
    explicit OpenBlocker(const std::string& path);
    ~OpenBlocker() { release(); }
    OpenBlocker(const OpenBlocker&) = delete;
    OpenBlocker& operator=(const OpenBlocker&) = delete;

    bool holding() const { return fd_ >= 0; }
    // Lets the waiting opens through.
    void release();

  private:
    int fd_ = -1;
};

}  // namespace testsupport
