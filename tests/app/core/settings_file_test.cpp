// The ini store on real files: missing files, batched writes, atomic replacement.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/ini_store.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t filesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++count;
    return count;
}

std::vector<std::string> sortedNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

using testsupport::FileSizeLimit;

TEST(IniStore, AMissingFileGivesDefaultsAndIsCreatedByTheFirstFlush) {
    TempDir dir;
    IniStore store(dir.file("tvorn.ini"));
    EXPECT_EQ(store.getInt("PlaySettings", "PlayTime", 17), 17);
    EXPECT_EQ(store.getString("OhterSettings", "searchExtent", "*.wav"), "*.wav");
    EXPECT_TRUE(store.flush());  // nothing to write: no file either
    EXPECT_FALSE(fs::exists(dir.file("tvorn.ini")));

    EXPECT_TRUE(store.setInt("PlaySettings", "PlayTime", 30));
    EXPECT_EQ(store.getInt("PlaySettings", "PlayTime", 0), 30);  // visible before the flush
    EXPECT_TRUE(store.hasUnsavedWrites());
    EXPECT_TRUE(store.flush());
    EXPECT_FALSE(store.hasUnsavedWrites());
    EXPECT_EQ(readFile(dir.file("tvorn.ini")), "[PlaySettings]\nPlayTime=30\n");
    EXPECT_EQ(filesIn(dir.path()), 1u);  // no temporary file left behind

    IniStore again(dir.file("tvorn.ini"));
    EXPECT_EQ(again.getInt("playsettings", "playtime", 0), 30);
}

TEST(IniStore, CreatesTheFolderWhenSaving) {
    TempDir dir;
    const std::string path = dir.path() + "/config/vorn/tvorn.ini";
    IniStore store(path);
    store.setString("App", "x", "1");
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(readFile(path), "[App]\nx=1\n");
}

TEST(IniStore, FlushKeepsWhatChangedOnDiskMeanwhile) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    writeFile(path, "[A]\nx=1\n");
    IniStore store(path);
    writeFile(path, "; edited by hand\n[A]\nx=1\ny=2\n");
    store.setInt("A", "x", 5);
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(readFile(path), "; edited by hand\n[A]\nx=5\ny=2\n");
    EXPECT_EQ(store.getInt("A", "y", 0), 2);
}

TEST(IniStore, AFailedWriteLeavesTheOldFileIntactAndKeepsTheWrites) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    const std::string old = "[PlaySettings]\nPlayTime=10\n; keep me\n";
    writeFile(path, old);
    IniStore store(path);
    store.setString("PlaySettings", "PlayTime", "20");
    store.setString("App", "big", std::string(4000, 'z'));
    {
        FileSizeLimit limit(100);  // the temporary file cannot be written whole
        EXPECT_FALSE(store.flush());
    }
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(filesIn(dir.path()), 1u);
    EXPECT_TRUE(store.hasUnsavedWrites());
    EXPECT_TRUE(store.flush());  // a later try succeeds with every write
    IniStore reread(path);
    EXPECT_EQ(reread.getInt("PlaySettings", "PlayTime", 0), 20);
    EXPECT_EQ(reread.getString("App", "big", "").size(), 4000u);
}

TEST(IniStore, AnUnwritableFolderFailsTheFlushWithoutHarm) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the super-user";
    TempDir dir;
    const std::string folder = dir.subdir("locked");
    const std::string path = folder + "/tvorn.ini";
    writeFile(path, "[A]\nx=1\n");
    chmod(folder.c_str(), 0555);
    IniStore store(path);
    store.setInt("A", "x", 2);
    EXPECT_FALSE(store.flush());
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(readFile(path), "[A]\nx=1\n");
}

TEST(IniStore, AnUnreadableFileIsNeverOverwritten) {
    TempDir dir;
    const std::string path = dir.subdir("tvorn.ini");  // a folder in the file's place
    IniStore store(path);
    EXPECT_EQ(store.getInt("A", "x", 9), 9);
    store.setInt("A", "x", 1);
    EXPECT_FALSE(store.flush());
    EXPECT_TRUE(fs::is_directory(path));
}

TEST(IniStore, AFifoInTheFilesPlaceDoesNotHang) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    IniStore store(path);
    EXPECT_EQ(store.getString("A", "x", "default"), "default");
}

TEST(IniStore, KeepsTheFilesModeAndItsSymbolicLink) {
    TempDir dir;
    const std::string real = dir.file("real.ini");
    const std::string link = dir.file("tvorn.ini");
    writeFile(real, "[A]\nx=1\n");
    chmod(real.c_str(), 0600);
    fs::create_symlink(real, link);
    IniStore store(link);
    store.setInt("A", "x", 2);
    ASSERT_TRUE(store.flush());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(real), "[A]\nx=2\n");
    struct stat info {};
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(IniStore, ADamagedFileIsReadAndRewrittenKeepingItsBytes) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    static constexpr char kHeader[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe";
    static constexpr char kTail[] = "\r\n[App]\r\nleft=-35garbage\r\nICON=\0x";
    std::string damaged(kHeader, sizeof kHeader - 1);
    damaged += std::string(1 << 20, 'Q');
    damaged += std::string(kTail, sizeof kTail - 1);
    writeFile(path, damaged);
    IniStore store(path);
    EXPECT_EQ(store.getInt("App", "left", 0), -35);
    EXPECT_EQ(store.getInt("App", "ICON", 1), 0);
    store.setInt("App", "top", 12);
    ASSERT_TRUE(store.flush());
    const std::string after = readFile(path);
    EXPECT_EQ(after, damaged + "\r\ntop=12\r\n");  // the first line's CR LF
}

TEST(IniStore, ASaveRemovesTheTemporaryFilesOfKilledSavesOnly) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    writeFile(path, "[A]\nx=1\n");
    for (const char* orphan : {".tvorn.ini.a1B2c3", ".tvorn.ini.ZZZZZZ"})
        writeFile(dir.file(orphan), "[A]\nx=");
    // Names that are no temporary file of this ini, and a folder and a link that have one.
    for (const char* other : {".tvorn.ini.bak", ".other.ini.AbC123", ".tvorn.ini.abc12",
                              ".tvorn.ini.abc1234", ".tvorn.ini.ab-123", "tvorn.ini.abc123"})
        writeFile(dir.file(other), "keep");
    fs::create_directory(dir.file(".tvorn.ini.Folder"));
    fs::create_symlink(dir.file(".tvorn.ini.bak"), dir.file(".tvorn.ini.Linked"));
    // The temporary file of a save under way, locked by its writer.
    const std::string live = dir.file(".tvorn.ini.Live01");
    writeFile(live, "[A]\nx=3");
    const int writer = ::open(live.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);

    IniStore store(path);
    store.setInt("A", "x", 2);
    const bool saved = store.flush();
    ::close(writer);
    ASSERT_TRUE(saved);
    EXPECT_EQ(readFile(path), "[A]\nx=2\n");
    const std::vector<std::string> expected = {
        ".other.ini.AbC123", ".tvorn.ini.Folder", ".tvorn.ini.Linked",  ".tvorn.ini.Live01",
        ".tvorn.ini.ab-123", ".tvorn.ini.abc12",  ".tvorn.ini.abc1234", ".tvorn.ini.bak",
        "tvorn.ini",         "tvorn.ini.abc123"};
    EXPECT_EQ(sortedNamesIn(dir.path()), expected);
    EXPECT_EQ(readFile(dir.file(".tvorn.ini.bak")), "keep");
}

}  // namespace
