#pragma once
// The text of one pipeline report block: what each element of a song's pipeline is, its
// input and output pads and the media on each. Plain data in, text out, so the layout is
// testable without GStreamer.
#include <ctime>
#include <string>
#include <vector>

struct PadRecord {
    std::string name;
    std::string major;             // media class: "audio", "video", ...
    std::string subtype;           // caps name: "audio/x-raw", "video/x-msvideo", ...
    std::string format;            // the other caps fields
    std::string pictureSize = {};  // " [W:H]" for pictures, else empty; never cut
};

struct ElementRecord {
    std::string name;
    std::vector<PadRecord> inputs;
    std::vector<PadRecord> outputs;
};

// One block with CR LF line ends: a line of 70 '-', the date line
// "%Y/%m/%d (%A) %H:%M:%S" with English weekday names, then per element "[%2d]:%s",
// its inputs as "    =>%s" and outputs as "    <=%s", each followed by three "    - %s"
// lines (major, subtype, format). Each name and type text is cut to 255 bytes, never
// inside a UTF-8 character; the picture size follows the cut format.
std::string formatGraphReport(const std::vector<ElementRecord>& elements, const std::tm& when);

// Appends `text` to the file at `path`; false (and nothing written) when it can't be opened.
bool appendReportText(const std::string& path, const std::string& text);
