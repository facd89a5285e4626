#pragma once
// A real temporary folder for one test, removed with everything in it when the object goes
// (folders the test made unreadable included), and the reading of the files a test made
// there.
#include <string>
#include <vector>

namespace testsupport {

class TempDir {
  public:
    // Creates a new empty folder under $TMPDIR (or /tmp); throws std::runtime_error on failure.
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing "/".
    const std::string& path() const { return path_; }
    // path() + "/" + name.
    std::string file(const std::string& name) const;
    // Creates the sub-folder `name` (and its parents) and returns its path.
    std::string subdir(const std::string& name) const;
    // Writes `content` to the file at path()/relative, making its folders; returns its path.
    std::string write(const std::string& relative, const std::string& content = {}) const;

  private:
    std::string path_;
};

// The whole content of a file; "" when it can't be read.
std::string readFile(const std::string& path);
// How often `part` occurs in `text`, overlapping occurrences included.
int countOf(const std::string& text, const std::string& part);
// The names in `folder` in the order the file system lists them, as raw bytes.
std::vector<std::string> listedNames(const std::string& folder);

}  // namespace testsupport
