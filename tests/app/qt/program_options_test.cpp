// The real program's command line as a shell user meets it: --help and --version, and the
// options of GStreamer and of Qt taken along with vorn's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/test_media.h"
#include "vorn_version.h"

namespace {

using testsupport::runVorn;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ProgramOptions, HelpTellsWhereTheSettingsLiveAndWhatTheEnvironmentChanges) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("my.ini");
    const testsupport::ProgramRun run = runVorn({"--ini", ini, "--help"}, 30);
    ASSERT_TRUE(run.exited) << run.output;
    EXPECT_EQ(run.status, 0) << run.output;
    for (const char* part :
         {"--ini <FILE>", "--language <LANG>", "--version", "[PATH...]",
          "$XDG_CONFIG_HOME/vorn/tvorn.ini", "~/.config/vorn/tvorn.ini", "VORN_AUDIO_SINK",
          "GST_DEBUG", "GST_PLUGIN_PATH", "--gst-debug-level", "-platform"})
        EXPECT_TRUE(has(run.output, part)) << part << "\n" << run.output;
    EXPECT_TRUE(has(run.output, "vorn uses " + ini + "\n")) << run.output;
}

TEST(ProgramOptions, VersionIsTheProjectsAlsoAmongToolkitOptions) {
    const std::string version = std::string("vorn ") + VORN_FULL_VERSION + "\n";
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--version"},
          {"--gst-debug-level=2", "-platform", "offscreen", "--version"}}) {
        const testsupport::ProgramRun run = runVorn(arguments, 30);
        EXPECT_TRUE(run.exited && run.status == 0) << run.output;
        EXPECT_TRUE(has(run.output, version)) << run.output;
        EXPECT_FALSE(has(run.output, "Unknown option")) << run.output;
    }
    const testsupport::ProgramRun wrong = runVorn({"--no-such-option"}, 30);
    EXPECT_TRUE(wrong.exited && wrong.status == 2) << wrong.output;
}

// GStreamer's and Qt's options take effect: the debug level makes GStreamer speak, and
// the program still plays its song and ends (isEndAndPlay).
TEST(ProgramOptions, GstreamerAndQtOptionsAreTakenAndThePlayerRuns) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("tvorn.ini");
    const std::string report = dir.file("report.fil");
    std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\nfilter=" << report << "\n";
    const std::string song = testsupport::makeWav(dir.path(), "a.wav", 0.3);
    const testsupport::ProgramRun run =
        runVorn({"--gst-debug-level=4", "--gst-debug-no-color", "-platform", "offscreen", "-style",
                 "Fusion", "-reverse", "--ini", ini, song},
                30);
    EXPECT_TRUE(run.exited && run.status == 0) << run.output;
    EXPECT_EQ(testsupport::reportBlocks(report), 1) << run.output;
    EXPECT_TRUE(has(run.output, " INFO ")) << "GStreamer's info lines";
}

// Decoders ranked out of use are missing for the program: the search says once what the
// files lack, and the program ends as a session with nothing to play does.
TEST(ProgramOptions, AMissingDecoderIsNamedOnStandardErrorOnce) {
    if (!testsupport::missingFactories({"flacenc"}).empty())
        GTEST_SKIP() << "this machine lacks flacenc";
    testsupport::TempDir dir;
    const std::string ini = dir.file("tvorn.ini");
    std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\n";
    const std::string first =
        testsupport::makeMedia(dir.path(), "a.flac", {"", "flacenc", ""}, 0.3, 440);
    const std::string second =
        testsupport::makeMedia(dir.path(), "b.flac", {"", "flacenc", ""}, 0.3, 440);
    setenv("GST_PLUGIN_FEATURE_RANK", "flacdec:0,avdec_flac:0", 1);
    const testsupport::ProgramRun run = runVorn({"--ini", ini, first, second}, 30);
    unsetenv("GST_PLUGIN_FEATURE_RANK");
    EXPECT_TRUE(run.exited && run.status == 0) << run.output;
    EXPECT_EQ(testsupport::countOf(run.output, ": cannot be played: "), 1) << run.output;
    EXPECT_TRUE(has(run.output, "FLAC")) << run.output;
    EXPECT_TRUE(has(run.output, " is missing (install the GStreamer plug-in that provides it)\n"))
        << run.output;
}

}  // namespace
