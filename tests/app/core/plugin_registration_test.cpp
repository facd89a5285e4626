// Loading the plug-in library by file name and calling its registration exports.
#include "app/core/plugin_registration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kAccessDenied = 0x80070005;  // what the stub's export returns

// A temporary folder as the paths the registration takes.
struct TempFolder {
    testsupport::TempDir dir;
    fs::path path() const { return dir.path(); }
};

void placeStub(const fs::path& folder) {
    fs::create_directories(folder);
    fs::copy_file(VORN_PLUGIN_STUB, folder / kPluginLibraryName,
                  fs::copy_options::overwrite_existing);
}

fs::path binDirectory() {
    const char* dir = std::getenv("VORN_BIN_DIR");
    return dir ? fs::path(dir) : fs::path();
}

TEST(PluginRegistration, LooksBesideTheProgramThenInLibVornThenOnTheSearchPath) {
    const auto candidates = pluginCandidates("/opt/vorn/bin");
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], "/opt/vorn/bin/libgstzarvex.so");
    EXPECT_EQ(candidates[1], "/opt/vorn/lib/vorn/libgstzarvex.so");
    EXPECT_EQ(candidates[2], "libgstzarvex.so");
    EXPECT_EQ(pluginCandidates({}), std::vector<std::string>{"libgstzarvex.so"});
}

TEST(PluginRegistration, ProgramDirectoryIsTheRunningProgramsFolder) {
    const fs::path dir = programDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(fs::exists(dir / "plugin_registration_test"));
}

TEST(PluginRegistration, MissingLibraryGivesFileNotFound) {
    TempFolder folder;
    EXPECT_EQ(registerPlugin(folder.path()), kPluginNotLoaded);
    EXPECT_EQ(unregisterPlugin(folder.path()), kPluginNotLoaded);
}

TEST(PluginRegistration, UnloadableLibraryGivesFileNotFound) {
    TempFolder folder;
    std::ofstream(folder.path() / kPluginLibraryName) << "not a shared library";
    EXPECT_EQ(registerPlugin(folder.path()), kPluginNotLoaded);
}

TEST(PluginRegistration, ExportResultPassesThroughAndMissingExportIsReported) {
    TempFolder folder;
    placeStub(folder.path());
    EXPECT_EQ(registerPlugin(folder.path()), kAccessDenied);
    EXPECT_EQ(unregisterPlugin(folder.path()), kPluginExportMissing);
}

TEST(PluginRegistration, FallsBackToLibVornBesideTheProgramFolder) {
    TempFolder folder;
    const fs::path programDir = folder.path() / "bin";
    fs::create_directories(programDir);
    // An unloadable file beside the program does not stop the search.
    std::ofstream(programDir / kPluginLibraryName) << "garbage";
    placeStub(folder.path() / "lib" / "vorn");
    EXPECT_EQ(registerPlugin(programDir), kAccessDenied);
}

TEST(PluginRegistration, RealPluginRegistersAndUnregisters) {
    ASSERT_FALSE(binDirectory().empty());
    EXPECT_EQ(registerPlugin(binDirectory()), 0u);
    EXPECT_EQ(registerPlugin(binDirectory()), 0u);
    EXPECT_EQ(unregisterPlugin(binDirectory()), 0u);
    EXPECT_EQ(unregisterPlugin(binDirectory()), 0u);
}

TEST(LibraryHandle, HoldsOneLibraryAtATime) {
    TempFolder folder;
    placeStub(folder.path());
    LibraryHandle handle;
    EXPECT_EQ(handle.handle(), nullptr);
    EXPECT_EQ(handle.load((folder.path() / "missing.so").string()), nullptr);
    EXPECT_FALSE(handle.error().empty());
    void* loaded = handle.load((folder.path() / kPluginLibraryName).string());
    EXPECT_NE(loaded, nullptr);
    EXPECT_EQ(handle.handle(), loaded);
    EXPECT_TRUE(handle.error().empty());
    // A failed load leaves no handle, and the earlier one is released.
    EXPECT_EQ(handle.load((folder.path() / "missing.so").string()), nullptr);
    EXPECT_EQ(handle.handle(), nullptr);
}

}  // namespace
