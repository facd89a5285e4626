#include "support/open_blocker.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace testsupport {

OpenBlocker::OpenBlocker(const std::string& path) {
    // The holder is told of each waiting open by SIGIO, whose default ends the process.
    std::signal(SIGIO, SIG_IGN);
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0 && ::fcntl(fd_, F_SETLEASE, F_WRLCK) != 0)
        release();
}

void OpenBlocker::release() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

}  // namespace testsupport
