#pragma once
// Runs the real vorn program (from $VORN_BIN_DIR) the way a desktop or a shell starts it:
// arguments go in as bytes, unchanged, and what it prints is collected.
#include <functional>
#include <string>
#include <vector>

#include "support/temp_dir.h"  // readFile, countOf

namespace testsupport {

struct ProgramRun {
    bool exited = false;  // ended by itself (not killed by a signal or the time limit)
    int status = -1;      // its exit status when it exited
    std::string output;   // standard output and standard error together
};

// `vorn arguments...`, ended after `timeoutSeconds`.
ProgramRun runVorn(const std::vector<std::string>& arguments, int timeoutSeconds = 90);

// `vorn arguments...` in the background, for tests that talk to it while it runs. Ended
// (SIGTERM) when the object goes, if it has not ended by itself.
class RunningVorn {
  public:
    explicit RunningVorn(const std::vector<std::string>& arguments);
    ~RunningVorn();
    RunningVorn(const RunningVorn&) = delete;
    RunningVorn& operator=(const RunningVorn&) = delete;

    bool started() const { return pid_ > 0; }
    int pid() const { return pid_; }
    // Waits at most `seconds` for the program to end by itself; true when it has.
    bool waitForExit(double seconds);
    // Its exit status once it has ended by itself, -1 before or when killed.
    int status() const { return status_; }
    // What it has printed so far (standard output and standard error).
    std::string output() const;

  private:
    TempDir dir_;
    int pid_ = -1;
    int status_ = -1;
    bool ended_ = false;
};

// Polls `done` every 50 ms for at most `seconds`; its last answer.
bool waitUntil(double seconds, const std::function<bool()>& done);

// Report blocks in a pipeline report file: one per song opened for play.
int reportBlocks(const std::string& reportPath);

}  // namespace testsupport
