#include "playback/core/graph_report_format.h"

#include <cstdio>

#include "app/core/text_cut.h"

namespace {

constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char* kLineEnd = "\r\n";
// Every name and type text of a block holds at most this many bytes.
constexpr std::size_t kNameBytes = 255;

void appendLine(std::string& out, const std::string& line) {
    out += line;
    out += kLineEnd;
}

// The date in the C locale's terms, whatever locale the program runs in.
std::string dateLine(const std::tm& when) {
    int weekday = when.tm_wday >= 0 && when.tm_wday < 7 ? when.tm_wday : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d (%s) %02d:%02d:%02d", when.tm_year + 1900,
                  when.tm_mon + 1, when.tm_mday, kWeekdays[weekday], when.tm_hour, when.tm_min,
                  when.tm_sec);
    return text;
}

void appendPad(std::string& out, const char* arrow, const PadRecord& pad) {
    appendLine(out, std::string("    ") + arrow + cutUtf8(pad.name, kNameBytes));
    for (const std::string* text : {&pad.major, &pad.subtype})
        appendLine(out, "    - " + cutUtf8(*text, kNameBytes));
    // Cut before the size is added: long caps fields (an MP4's codec_data) keep it visible.
    appendLine(out, "    - " + cutUtf8(pad.format, kNameBytes) + pad.pictureSize);
}

}  // namespace

std::string formatGraphReport(const std::vector<ElementRecord>& elements, const std::tm& when) {
    std::string out;
    appendLine(out, std::string(70, '-'));
    appendLine(out, dateLine(when));
    int number = 0;
    for (const ElementRecord& element : elements) {
        char head[16];
        std::snprintf(head, sizeof head, "[%2d]:", number++);
        appendLine(out, head + cutUtf8(element.name, kNameBytes));
        for (const PadRecord& pad : element.inputs)
            appendPad(out, "=>", pad);
        for (const PadRecord& pad : element.outputs)
            appendPad(out, "<=", pad);
    }
    return out;
}

bool appendReportText(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}
