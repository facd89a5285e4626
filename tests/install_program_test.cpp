// The installed program, started from the prefix tests/install_check.sh installed it in
// (VORN_BIN_DIR is that prefix's bin folder): it finds its plug-in in ../lib/vorn, plays
// the sound of an AVI with the picture discarded, and keeps its settings in
// $XDG_CONFIG_HOME/vorn, never beside itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/sound_capture.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using testsupport::readFile;

// Mono 16-bit samples at SoundCapture::kRate, as the file sink below writes them.
std::vector<std::int16_t> samplesIn(const std::string& path) {
    const std::string bytes = readFile(path);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                               static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return samples;
}

TEST(InstalledProgram, PlaysAnAviWithItsPluginAndKeepsItsSettingsInTheConfigFolder) {
    const char* binDir = std::getenv("VORN_BIN_DIR");
    ASSERT_NE(binDir, nullptr) << "VORN_BIN_DIR names the installed bin folder";
    testsupport::TempDir dir;
    const std::string songs = dir.subdir("songs");
    testsupport::makeAvi(songs, "clip.avi", 1.5, 1.5, testsupport::AviAudio::Pcm, 160, 120, {},
                         660);
    const std::string config = dir.subdir("config");
    const std::string ini = dir.subdir("config/vorn") + "/tvorn.ini";
    const std::string report = dir.file("report.fil");
    std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\nfilter=" << report << "\n";
    const std::string sound = dir.file("sound.s16");
    const std::string sink =
        "audioconvert ! audioresample ! audio/x-raw,format=S16LE,channels=1,"
        "rate=" +
        std::to_string(testsupport::SoundCapture::kRate) + " ! filesink location=" + sound;
    setenv("VORN_AUDIO_SINK", sink.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("HOME", dir.subdir("home").c_str(), 1);

    const testsupport::ProgramRun run = testsupport::runVorn({songs}, 60);
    ASSERT_TRUE(run.exited) << run.output;
    EXPECT_EQ(run.status, 0) << run.output;

    EXPECT_EQ(testsupport::reportBlocks(report), 1) << run.output;
    // The picture went to the plug-in's discard renderer (found in ../lib/vorn), not to a
    // window.
    const std::string graph = readFile(report);
    EXPECT_NE(graph.find("]:NULL Video (tavik)\r\n"), std::string::npos) << graph;
    const std::vector<std::int16_t> samples = samplesIn(sound);
    EXPECT_GT(samples.size(), testsupport::SoundCapture::kRate) << run.output;
    EXPECT_NEAR(testsupport::dominantFrequency(samples, testsupport::SoundCapture::kRate), 660, 20);

    // The program rewrote the settings in the configuration folder with what it played.
    const std::string settings = readFile(ini);
    EXPECT_NE(settings.find("Dir0=" + songs), std::string::npos) << settings;
    EXPECT_FALSE(std::filesystem::exists(std::string(binDir) + "/tvorn.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/home/.config"));
}

}  // namespace
