#pragma once
// Small helpers for the plug-in's tests: running a pipeline to its end and making media.
#include <gst/gst.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/gst/gst_ptr.h"

namespace zarvex_test {

struct RunResult {
    bool reachedEos = false;
    std::string error;  // the first error message, if any
    double seconds = 0;
};

// Sets `pipeline` playing and waits for end of stream, an error or `timeoutSeconds`.
// The pipeline is left in NULL.
RunResult playToEnd(GstElement* pipeline, double timeoutSeconds = 30);

// Parses a gst-launch description; fails the current test when it can't be parsed.
GstElementPtr parsePipeline(const std::string& description);

// Runs a description to its end; true when it reached end of stream without error.
bool runDescription(const std::string& description);

// The folder holding the built program and plug-in.
std::filesystem::path binDirectory();

}  // namespace zarvex_test
