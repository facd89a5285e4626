#pragma once
// The parts of "vorn --help" after the options: where the settings live, the environment
// variables the program and GStreamer read, and the toolkits' own options.
#include <string>

// `iniPath` is where this program, started as it was, keeps its settings.
std::string commandLineHelpEpilogue(const std::string& iniPath);
