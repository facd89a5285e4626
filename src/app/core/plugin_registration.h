#pragma once
// Registration of the Zarvex plug-in. At start-up the program loads the plug-in library
// by file name and calls its registration export, so its playback pipelines can create
// the discard renderer by class identifier; at the end it calls the unregistration
// export. Both results are COM-style codes that the callers are free to ignore.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

inline constexpr const char* kPluginLibraryName = "libgstzarvex.so";
inline constexpr const char* kRegisterExport = "DllRegisterServer";
inline constexpr const char* kUnregisterExport = "DllUnregisterServer";

// The library could not be loaded, whatever the loader's reason (ERROR_FILE_NOT_FOUND).
inline constexpr std::uint32_t kPluginNotLoaded = 0x80070002;
// The library lacks the wanted export (TYPE_E_DLLFUNCTIONNOTFOUND).
inline constexpr std::uint32_t kPluginExportMissing = 0x8002802F;

// Owns one loaded-library handle, or none, so a loaded library is released on every path
// out of the caller.
class LibraryHandle {
  public:
    LibraryHandle() = default;
    virtual ~LibraryHandle();
    LibraryHandle(const LibraryHandle&) = delete;
    LibraryHandle& operator=(const LibraryHandle&) = delete;

    // Releases the library held, if any, then loads `name` (a path, or a bare name looked
    // up on the library search path) and keeps the new handle, which is nullptr when
    // loading failed. Returns it.
    virtual void* load(const std::string& name);

    void* handle() const { return handle_; }
    // The loader's message for the last failed load; empty after a success.
    const std::string& error() const { return error_; }

  private:
    void release();

    void* handle_ = nullptr;
    std::string error_;
};

// Where the plug-in is looked for, in order: beside the program file, in ../lib/vorn
// relative to it, then by bare name on the library search path.
std::vector<std::string> pluginCandidates(const std::filesystem::path& programDir);

// The folder of the running program file (/proc/self/exe); empty when unknown.
std::filesystem::path programDirectory();

// Loads the plug-in and calls DllRegisterServer: its result, kPluginNotLoaded or
// kPluginExportMissing.
std::uint32_t registerPlugin();
std::uint32_t registerPlugin(const std::filesystem::path& programDir);

// The same with DllUnregisterServer.
std::uint32_t unregisterPlugin();
std::uint32_t unregisterPlugin(const std::filesystem::path& programDir);
