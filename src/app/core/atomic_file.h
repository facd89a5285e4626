#pragma once
// Whole-file reading and crash-safe replacement of small files such as the ini file.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

enum class FileReadResult { Read, Missing, Failed };

// Reads the whole file into `bytes`. Missing: there is no such file (bytes is empty).
FileReadResult readWholeFile(const std::filesystem::path& path, std::string& bytes);

// What replaceFileAtomically does when the target's folder does not exist.
enum class MissingFolder { Create, Fail };

// Replaces the file's content with `bytes`: writes a temporary file ".<name>.XXXXXX" in
// the same folder, syncs it, renames it over the target (following a symbolic link to the
// real file) and syncs the folder. A missing folder is created or fails the call, as
// `missingFolder` says. A new file gets mode 0666 less the umask, an existing one keeps
// its mode. Temporary files of the same target that a killed save left behind are removed
// first; those of a save still under way are not. On failure the target is untouched, the
// temporary file removed, and `failure` (when given) holds the error of the failed step.
bool replaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           MissingFolder missingFolder = MissingFolder::Create,
                           std::error_code* failure = nullptr);
