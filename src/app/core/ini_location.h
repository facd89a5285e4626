#pragma once
// Where the program keeps "tvorn.ini": the file named by --ini; otherwise beside the
// program file when that file can be written there (it exists and it and its folder are
// writable, or it doesn't exist and the folder is writable); otherwise
// $XDG_CONFIG_HOME/vorn/tvorn.ini (~/.config/vorn/tvorn.ini by default), so an installed
// program keeps its settings too. An installed program (see isInstalledLayout) goes to
// the configuration folder even when its own folder is writable (root under /usr/bin),
// unless a tvorn.ini is already beside it: a portable copy keeps working. A file beside
// the program that can't be written (one shipped with the program) is the starting point
// of the configuration file until that one exists.
#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* kIniFileName = "tvorn.ini";

// The folder of the program file: the text before the last "/" or, when there is none,
// before the last "\\"; "" when neither occurs.
std::string programDirectoryOf(std::string_view programFile);

// `folder` + "/" + "tvorn.ini" (just "/tvorn.ini" for an empty folder).
std::string iniPathIn(std::string_view folder);

// True when `programDir` is the bin folder of an installed tree: it is named "bin" and
// its parent holds lib/vorn, where the installation puts the plug-in. The build tree's
// bin folder holds the plug-in beside the program and has no such sibling.
bool isInstalledLayout(const std::string& programDir);

struct IniLocationInputs {
    std::optional<std::string> explicitPath;  // the --ini option
    std::string programDir;                   // programDirectoryOf(the program file)
    std::string xdgConfigHome;                // $XDG_CONFIG_HOME, may be empty
    std::string home;                         // $HOME, may be empty
};

struct IniLocation {
    std::string path;  // the file read and written
    std::string seed;  // read instead while `path` does not exist; empty for none
};

IniLocation locateIni(const IniLocationInputs& inputs);
// locateIni(inputs).path.
std::string chooseIniPath(const IniLocationInputs& inputs);

// The inputs from the environment, for the given --ini option and program folder.
IniLocationInputs iniLocationFromEnvironment(std::optional<std::string> explicitPath,
                                             std::string programDir);
