#pragma once
// Whole-file reading and crash-safe replacement of small files such as the ini file.
#include <filesystem>
#include <string>
#include <string_view>

enum class FileReadResult { Read, Missing, Failed };

// Reads the whole file into `bytes`. Missing: there is no such file (bytes is empty).
FileReadResult readWholeFile(const std::filesystem::path& path, std::string& bytes);

// Replaces the file's content with `bytes`: writes a temporary file in the same folder,
// syncs it, renames it over the target (following a symbolic link to the real file) and
// syncs the folder. Creates the folder when it is missing. A new file gets mode 0666 less
// the umask, an existing one keeps its mode. On failure the target is untouched and the
// temporary file removed.
bool replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);
