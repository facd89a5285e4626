// The report block's layout, without GStreamer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "playback/core/graph_report_format.h"
#include "support/temp_dir.h"

namespace {
std::tm sunday() {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 6;
    when.tm_wday = 0;
    when.tm_hour = 18;
    when.tm_min = 4;
    when.tm_sec = 15;
    return when;
}
}  // namespace

TEST(GraphReportFormat, BlockLayout) {
    ElementRecord sink{"sink", {{"sink", "audio", "audio/x-raw", "rate=(int)44100"}}, {}};
    ElementRecord source{"src", {}, {{"src", "", "", ""}}};
    ElementRecord bare{"no pads", {}, {}};
    std::string text = formatGraphReport({sink, source, bare}, sunday());
    std::string expected = std::string(70, '-') + "\r\n" +
                           "2026/12/06 (Sunday) 18:04:15\r\n"
                           "[ 0]:sink\r\n"
                           "    =>sink\r\n"
                           "    - audio\r\n"
                           "    - audio/x-raw\r\n"
                           "    - rate=(int)44100\r\n"
                           "[ 1]:src\r\n"
                           "    <=src\r\n"
                           "    - \r\n"
                           "    - \r\n"
                           "    - \r\n"
                           "[ 2]:no pads\r\n";
    EXPECT_EQ(text, expected);
}

TEST(GraphReportFormat, InputsBeforeOutputsAndNumbersPastNine) {
    std::vector<ElementRecord> elements(12);
    for (std::size_t i = 0; i < elements.size(); ++i)
        elements[i].name = "e" + std::to_string(i);
    elements[11].outputs.push_back({"out", "video", "video/x-raw", "w [320:-240]"});
    elements[11].inputs.push_back({"in", "video", "video/x-raw", ""});
    std::string text = formatGraphReport(elements, sunday());
    EXPECT_NE(text.find("\r\n[ 9]:e9\r\n[10]:e10\r\n[11]:e11\r\n    =>in\r\n"), std::string::npos);
    EXPECT_LT(text.find("=>in"), text.find("<=out"));
    EXPECT_NE(text.find("    - w [320:-240]\r\n"), std::string::npos);
}

// Names and type texts stop at 255 bytes, and never inside a character: "ー" is three
// bytes, starting at byte 254 here. The picture size follows the cut format.
TEST(GraphReportFormat, LongTextsAreCutOnACharacterBoundary) {
    std::string longText = std::string(254, 'f') + "ー" + std::string(300, 'g');
    ElementRecord element{longText, {{longText, "video", longText, longText, " [320:240]"}}, {}};
    std::string text = formatGraphReport({element}, sunday());
    std::string cut = std::string(254, 'f');
    EXPECT_NE(text.find("[ 0]:" + cut + "\r\n    =>" + cut + "\r\n"), std::string::npos);
    EXPECT_EQ(testsupport::countOf(text, "    - " + cut + "\r\n"), 1);  // the subtype
    EXPECT_NE(text.find("    - " + cut + " [320:240]\r\n"), std::string::npos);
    EXPECT_EQ(text.find("g"), std::string::npos);
}

TEST(GraphReportFormat, WeekdaysAreEnglish) {
    std::tm when = sunday();
    const char* names[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                           "Thursday", "Friday", "Saturday"};
    for (int day = 0; day < 7; ++day) {
        when.tm_wday = day;
        EXPECT_NE(formatGraphReport({}, when).find(std::string("(") + names[day] + ")"),
                  std::string::npos);
    }
}

TEST(GraphReportFormat, AppendsBlocksAndLeavesBadPathsAlone) {
    testsupport::TempDir dir;
    std::string path = dir.file("r.fil");
    EXPECT_TRUE(appendReportText(path, "one\r\n"));
    EXPECT_TRUE(appendReportText(path, "two\r\n"));
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "one\r\ntwo\r\n");
    EXPECT_FALSE(appendReportText(dir.file("missing/r.fil"), "x"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
    EXPECT_FALSE(appendReportText(dir.path(), "x"));  // a folder
}
