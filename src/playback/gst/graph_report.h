#pragma once
// The pipeline report: appends to `path` one block describing every element of
// `pipeline` (depth first, in the order the bins iterate them, so the elements inside
// uridecodebin show) with its pads and their media. An unopenable path writes nothing.
#include <gst/gst.h>

#include <string>
#include <vector>

#include "playback/core/graph_report_format.h"

void WriteGraphReport(GstElement* pipeline, const std::string& path);

// The records the report is made of (for tests).
std::vector<ElementRecord> collectGraphRecords(GstElement* pipeline);

// The three type texts of caps (first structure); empty texts for empty or ANY caps.
PadRecord describeCaps(const GstCaps* caps);
