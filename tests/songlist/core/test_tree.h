#pragma once
// Real temporary folders for the song list tests, removed again at the end of the test.
#include <filesystem>
#include <string>
#include <vector>

class TempTree {
  public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& root() const { return root_; }
    // Creates an empty file (and its folders) at root/relative; returns its full path.
    std::string file(const std::string& relative, const std::string& content = {}) const;
    std::string folder(const std::string& relative) const;

  private:
    std::string root_;
};

// Names in `folder` in the order the file system lists them, as raw bytes.
std::vector<std::string> listedNames(const std::string& folder);
std::string readWholeFile(const std::string& path);
