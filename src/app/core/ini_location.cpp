#include "app/core/ini_location.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

std::string programDirectoryOf(std::string_view programFile) {
    std::size_t cut = programFile.rfind('/');
    if (cut == std::string_view::npos)
        cut = programFile.rfind('\\');
    if (cut == std::string_view::npos)
        return {};
    return std::string(programFile.substr(0, cut));
}

std::string iniPathIn(std::string_view folder) {
    std::string path(folder);
    path += '/';
    path += kIniFileName;
    return path;
}

bool isInstalledLayout(const std::string& programDir) {
    const std::filesystem::path dir(programDir);
    if (dir.filename() != "bin")
        return false;
    std::error_code error;
    return std::filesystem::is_directory(dir.parent_path() / "lib" / "vorn", error);
}

IniLocation locateIni(const IniLocationInputs& inputs) {
    if (inputs.explicitPath && !inputs.explicitPath->empty())
        return {*inputs.explicitPath, {}};

    const std::string beside = iniPathIn(inputs.programDir);
    std::error_code error;
    const bool besideExists = std::filesystem::exists(beside, error);
    const std::string folder = inputs.programDir.empty() ? "/" : inputs.programDir;
    // Saving replaces the file through a new file in its folder, so both must be writable.
    const bool folderWritable = ::access(folder.c_str(), W_OK) == 0;
    // An installed program writes beside itself only where a tvorn.ini already is.
    const bool besideAllowed = besideExists || !isInstalledLayout(inputs.programDir);
    if (besideAllowed && folderWritable && (!besideExists || ::access(beside.c_str(), W_OK) == 0))
        return {beside, {}};

    // Only an absolute $XDG_CONFIG_HOME counts; a relative one is to be ignored.
    std::string configHome;
    if (!inputs.xdgConfigHome.empty() && inputs.xdgConfigHome.front() == '/') {
        configHome = inputs.xdgConfigHome;
    } else if (!inputs.home.empty()) {
        configHome = inputs.home + "/.config";
    } else {
        return {beside, {}};  // nowhere better to go; reads give defaults, writes fail quietly
    }
    return {configHome + "/vorn/" + kIniFileName, besideExists ? beside : std::string()};
}

std::string chooseIniPath(const IniLocationInputs& inputs) {
    return locateIni(inputs).path;
}

IniLocationInputs iniLocationFromEnvironment(std::optional<std::string> explicitPath,
                                             std::string programDir) {
    auto environment = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return IniLocationInputs{std::move(explicitPath), std::move(programDir),
                             environment("XDG_CONFIG_HOME"), environment("HOME")};
}
