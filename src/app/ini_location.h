#pragma once
// Where the program keeps "tvorn.ini": the file named by --ini; otherwise beside the
// program file when that file already exists there or the program's folder is writable;
// otherwise $XDG_CONFIG_HOME/vorn/tvorn.ini (~/.config/vorn/tvorn.ini by default), so an
// installed program keeps its settings too.
#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* kIniFileName = "tvorn.ini";

// The folder of the program file: the text before the last "/" or, when there is none,
// before the last "\\"; "" when neither occurs.
std::string programDirectoryOf(std::string_view programFile);

// `folder` + "/" + "tvorn.ini" (just "/tvorn.ini" for an empty folder).
std::string iniPathIn(std::string_view folder);

struct IniLocationInputs {
    std::optional<std::string> explicitPath;  // the --ini option
    std::string programDir;                   // programDirectoryOf(the program file)
    std::string xdgConfigHome;                // $XDG_CONFIG_HOME, may be empty
    std::string home;                         // $HOME, may be empty
};

std::string chooseIniPath(const IniLocationInputs& inputs);

// The inputs from the environment, for the given --ini option and program folder.
IniLocationInputs iniLocationFromEnvironment(std::optional<std::string> explicitPath,
                                             std::string programDir);
