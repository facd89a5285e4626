#pragma once
// Runs the real vorn program (from $VORN_BIN_DIR) the way a desktop or a shell starts it:
// arguments go in as bytes, unchanged, and what it prints is collected.
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

// Report blocks in a pipeline report file: one per song opened for play.
int reportBlocks(const std::string& reportPath);

}  // namespace testsupport
