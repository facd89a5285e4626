#include "app/core/plugin_registration.h"

#include <dlfcn.h>

#include <system_error>

namespace {

using ServerExport = std::uint32_t (*)();

std::uint32_t callPluginExport(const std::filesystem::path& programDir, const char* exportName) {
    LibraryHandle library;
    for (const std::string& candidate : pluginCandidates(programDir)) {
        if (library.load(candidate))
            break;
    }
    if (!library.handle())
        return kPluginNotLoaded;
    void* symbol = dlsym(library.handle(), exportName);
    if (!symbol)
        return kPluginExportMissing;
    return reinterpret_cast<ServerExport>(symbol)();
}

}  // namespace

LibraryHandle::~LibraryHandle() {
    release();
}

void* LibraryHandle::load(const std::string& name) {
    release();
    // RTLD_NODELETE: the plug-in registers GObject types with the process, which can never
    // be unregistered, and its elements run code from it; so the library stays mapped until
    // the program ends, even though this handle is closed when the call is done.
    handle_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle_) {
        error_.clear();
    } else {
        const char* message = dlerror();
        error_ = message ? message : "cannot load " + name;
    }
    return handle_;
}

void LibraryHandle::release() {
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

std::vector<std::string> pluginCandidates(const std::filesystem::path& programDir) {
    std::vector<std::string> candidates;
    if (!programDir.empty()) {
        candidates.push_back((programDir / kPluginLibraryName).string());
        candidates.push_back(
            (programDir / ".." / "lib" / "vorn" / kPluginLibraryName).lexically_normal().string());
    }
    candidates.emplace_back(kPluginLibraryName);
    return candidates;
}

std::filesystem::path programDirectory() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

std::uint32_t registerPlugin() {
    return registerPlugin(programDirectory());
}

std::uint32_t registerPlugin(const std::filesystem::path& programDir) {
    return callPluginExport(programDir, kRegisterExport);
}

std::uint32_t unregisterPlugin() {
    return unregisterPlugin(programDirectory());
}

std::uint32_t unregisterPlugin(const std::filesystem::path& programDir) {
    return callPluginExport(programDir, kUnregisterExport);
}
