// The settings records in the ini file, and where that file lives.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/core/ini_location.h"
#include "app/core/ini_store.h"
#include "app/core/settings_io.h"
#include "support/temp_dir.h"

namespace {

using testsupport::TempDir;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Notes the keys asked for or written, in order, and passes everything on to an IniStore.
class RecordingStore : public ProfileStore {
  public:
    explicit RecordingStore(IniStore& store) : store_(store) {}
    int getInt(std::string_view section, std::string_view key, int fallback) const override {
        keys.push_back(std::string(section) + "/" + std::string(key));
        return store_.getInt(section, key, fallback);
    }
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view fallback) const override {
        keys.push_back(std::string(section) + "/" + std::string(key));
        return store_.getString(section, key, fallback);
    }
    bool setInt(std::string_view section, std::string_view key, int value) override {
        keys.push_back(std::string(section) + "/" + std::string(key));
        return store_.setInt(section, key, value);
    }
    bool setString(std::string_view section, std::string_view key,
                   std::string_view value) override {
        keys.push_back(std::string(section) + "/" + std::string(key));
        return store_.setString(section, key, value);
    }
    mutable std::vector<std::string> keys;

  private:
    IniStore& store_;
};

std::vector<std::string> withSections(const std::vector<std::string>& play,
                                      const std::vector<std::string>& other) {
    std::vector<std::string> keys;
    for (const std::string& key : play)
        keys.push_back("PlaySettings/" + key);
    for (const std::string& key : other)
        keys.push_back("OhterSettings/" + key);
    keys.push_back("App/Volume");
    return keys;
}

const std::vector<std::string> kOtherKeys = {"isStartAndPlay", "isEndAndPlay", "isnoTaskTray",
                                             "slistAddType",   "searchExtent", "flist",
                                             "filter"};

TEST(Settings, AFirstStartUsesTheDefaultsAndExitWritesAllSeventeenKeys) {
    TempDir dir;
    IniStore store(dir.file("tvorn.ini"));
    AppSettings settings;
    settings.play.PlayTime = 99;  // whatever was in memory gives way to the defaults
    loadSettings(store, settings);
    EXPECT_EQ(settings.play.PlayTime, 0);
    EXPECT_FALSE(settings.play.isRepeat);
    EXPECT_EQ(settings.other.searchExtent, "*.wav;*.mp3;*.avi");
    EXPECT_EQ(settings.other.flist, "");

    saveSettings(store, settings);
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(readFile(dir.file("tvorn.ini")),
              "[PlaySettings]\nisStartAndIcon=0\nPlayTime=0\nwaitTime=0\nisRepeat=0\n"
              "repeatCnt=0\nisRandom=0\nisEndless=0\nplayCnt=0\nuseEffect=0\n"
              "[OhterSettings]\nisStartAndPlay=0\nisEndAndPlay=0\nisnoTaskTray=0\n"
              "slistAddType=0\nsearchExtent=*.wav;*.mp3;*.avi\nflist=\nfilter=\n"
              "[App]\nVolume=100\n");
}

TEST(Settings, ReadAndWriteInTheirOwnOrders) {
    TempDir dir;
    IniStore store(dir.file("tvorn.ini"));
    RecordingStore recording(store);
    AppSettings settings;
    loadSettings(recording, settings);
    EXPECT_EQ(recording.keys,
              withSections({"isStartAndIcon", "PlayTime", "isRepeat", "repeatCnt", "isRandom",
                            "waitTime", "isEndless", "playCnt", "useEffect"},
                           kOtherKeys));
    recording.keys.clear();
    saveSettings(recording, settings);
    EXPECT_EQ(recording.keys,
              withSections({"isStartAndIcon", "PlayTime", "waitTime", "isRepeat", "repeatCnt",
                            "isRandom", "isEndless", "playCnt", "useEffect"},
                           kOtherKeys));
}

TEST(Settings, ValuesSurviveARestart) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    AppSettings saved;
    saved.play.PlayTime = 30;
    saved.play.waitTime = -4;  // the store keeps any int; the settings sheet limits input
    saved.play.isRandom = true;
    saved.play.repeatCnt = 3;
    saved.other.slistAddType = 2;
    saved.other.searchExtent = "*.ogg;*.flac";
    saved.other.filter = "/tmp/report name.fil";
    saved.app.Volume = 37;
    {
        IniStore store(path);
        saveSettings(store, saved);
        ASSERT_TRUE(store.flush());
    }
    IniStore store(path);
    AppSettings loaded;
    loadSettings(store, loaded);
    EXPECT_EQ(loaded.play.PlayTime, 30);
    EXPECT_EQ(loaded.play.waitTime, -4);
    EXPECT_TRUE(loaded.play.isRandom);
    EXPECT_EQ(loaded.play.repeatCnt, 3);
    EXPECT_EQ(loaded.other.slistAddType, 2);
    EXPECT_EQ(loaded.other.searchExtent, "*.ogg;*.flac");
    EXPECT_EQ(loaded.other.filter, "/tmp/report name.fil");
    EXPECT_EQ(loaded.app.Volume, 37);
}

TEST(Settings, AnyNonZeroBoolReadsTrueAndIsWrittenAsOne) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    std::ofstream(path) << "[PlaySettings]\nisRepeat=5\nisRandom=-1\nuseEffect=0\n"
                           "isEndless=yes\n[OhterSettings]\nisnoTaskTray=2\n";
    IniStore store(path);
    AppSettings settings;
    loadSettings(store, settings);
    EXPECT_TRUE(settings.play.isRepeat);
    EXPECT_TRUE(settings.play.isRandom);
    EXPECT_FALSE(settings.play.useEffect);
    EXPECT_FALSE(settings.play.isEndless);  // not a number: 0
    EXPECT_TRUE(settings.other.isnoTaskTray);
    saveSettings(store, settings);
    ASSERT_TRUE(store.flush());
    IniStore reread(path);
    EXPECT_EQ(reread.getString("PlaySettings", "isRepeat", ""), "1");
    EXPECT_EQ(reread.getString("PlaySettings", "isRandom", ""), "1");
    EXPECT_EQ(reread.getString("PlaySettings", "isEndless", ""), "0");
    EXPECT_EQ(reread.getString("OhterSettings", "isnoTaskTray", ""), "1");
}

TEST(Settings, AnEmptySearchExtentIsNotAMissingOne) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    std::ofstream(path) << "[OhterSettings]\nsearchExtent=\n";
    AppSettings settings;
    loadSettings(IniStore(path), settings);
    EXPECT_EQ(settings.other.searchExtent, "");

    std::ofstream(path) << "[OhterSettings]\nflist=/x\n";
    loadSettings(IniStore(path), settings);
    EXPECT_EQ(settings.other.searchExtent, "*.wav;*.mp3;*.avi");
}

TEST(Settings, LoadingKeepsTheEffectCatalogue) {
    TempDir dir;
    AppSettings settings;
    auto* catalogue = reinterpret_cast<EffectCatalogue*>(&settings);  // only compared
    settings.play.effectCatalogue = catalogue;
    loadSettings(IniStore(dir.file("tvorn.ini")), settings);
    EXPECT_EQ(settings.play.effectCatalogue, catalogue);
}

TEST(Settings, AStringThatCannotBeStoredLeavesItsKeyAlone) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    std::ofstream(path) << "[OhterSettings]\nfilter=/old.fil\n";
    IniStore store(path);
    AppSettings settings;
    loadSettings(store, settings);
    settings.other.filter = "/new\nfile.fil";
    saveSettings(store, settings);
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(IniStore(path).getString("OhterSettings", "filter", ""), "/old.fil");
    EXPECT_EQ(IniStore(path).getInt("OhterSettings", "slistAddType", -1), 0);
}

// A missing or damaged volume reads as 100, one out of range is held to 0..100.
TEST(Settings, TheVolumeIsAPercent) {
    const std::pair<const char*, int> rows[] = {
        {"Volume=40", 40},   {"", 100},        {"Volume=loud", 100},       {"Volume=50%", 100},
        {"Volume=150", 100}, {"Volume=-5", 0}, {"Volume=99999999999", 100}};
    TempDir dir;
    for (const auto& [line, volume] : rows) {
        std::ofstream(dir.file("tvorn.ini")) << "[App]\n" << line << "\n";
        AppSettings settings;
        loadSettings(IniStore(dir.file("tvorn.ini")), settings);
        EXPECT_EQ(settings.app.Volume, volume) << line;
    }
}

TEST(IniLocation, ProgramDirectoryIsCutAtTheLastSeparator) {
    EXPECT_EQ(programDirectoryOf("/usr/local/bin/vorn"), "/usr/local/bin");
    EXPECT_EQ(programDirectoryOf("/vorn"), "");
    EXPECT_EQ(programDirectoryOf("C:\\tools\\vorn.exe"), "C:\\tools");
    EXPECT_EQ(programDirectoryOf("a\\b/c"), "a\\b");
    EXPECT_EQ(programDirectoryOf("vorn"), "");
    EXPECT_EQ(iniPathIn("/opt/vorn"), "/opt/vorn/tvorn.ini");
    EXPECT_EQ(iniPathIn(""), "/tvorn.ini");
}

TEST(IniLocation, ChoosesTheOptionThenBesideTheProgramThenTheConfigFolder) {
    TempDir dir;
    const std::string programDir = dir.subdir("bin");
    const std::string missingDir = dir.path() + "/not/there";

    EXPECT_EQ(chooseIniPath({"/x/my.ini", programDir, "/cfg", "/home/u"}), "/x/my.ini");
    // A writable program folder.
    EXPECT_EQ(chooseIniPath({std::nullopt, programDir, "/cfg", "/home/u"}),
              programDir + "/tvorn.ini");
    // A folder that cannot be written (here: one that does not exist) sends it to the
    // configuration folder.
    EXPECT_EQ(chooseIniPath({std::nullopt, missingDir, "/cfg", "/home/u"}), "/cfg/vorn/tvorn.ini");
    EXPECT_EQ(chooseIniPath({std::nullopt, missingDir, "", "/home/u"}),
              "/home/u/.config/vorn/tvorn.ini");
    EXPECT_EQ(chooseIniPath({std::nullopt, missingDir, "relative/cfg", "/home/u"}),
              "/home/u/.config/vorn/tvorn.ini");
    EXPECT_EQ(chooseIniPath({std::string(), missingDir, "", ""}), missingDir + "/tvorn.ini");
}

// Runs `check` as a user without privileges (root may write anywhere), in a child process
// when the tests run as root; true when it held.
bool asUnprivileged(const std::function<bool()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// A tvorn.ini beside the program that can't be written (read-only, or in a read-only
// folder) is read once as the starting point; the settings then live in the
// configuration folder, and the file beside the program is never changed.
TEST(IniLocation, AFileBesideTheProgramThatCantBeWrittenSeedsTheConfigurationFile) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string lockedDir = dir.subdir("locked");
    const std::string openDir = dir.subdir("open");
    const std::string config = dir.subdir("cfg");
    for (const std::string& shipped : {lockedDir, openDir})
        std::ofstream(shipped + "/tvorn.ini") << "[App]\nleft=7\n[FolderHistory]\nDir3=/kept\n";
    fs::permissions(dir.path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(lockedDir,
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(openDir, fs::perms::all);
    fs::permissions(openDir + "/tvorn.ini", fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(config, fs::perms::all);
    const std::string configIni = config + "/vorn/tvorn.ini";

    const bool held = asUnprivileged([&] {
        for (const std::string& shipped : {lockedDir, openDir}) {
            const IniLocation where = locateIni({std::nullopt, shipped, config, "/home/u"});
            if (where.path != configIni || where.seed != shipped + "/tvorn.ini")
                return false;
        }
        const IniLocation where = locateIni({std::nullopt, openDir, config, "/home/u"});
        IniStore first(where.path, where.seed);
        if (first.getInt("App", "left", 0) != 7 || !first.setInt("App", "top", 9) || !first.flush())
            return false;
        IniStore again(where.path, where.seed);
        return again.getInt("App", "left", 0) == 7 && again.getInt("App", "top", 0) == 9 &&
               again.getString("FolderHistory", "Dir3", "") == "/kept";
    });
    EXPECT_TRUE(held);
    EXPECT_EQ(IniStore(openDir + "/tvorn.ini").getString("App", "top", "none"), "none");
    EXPECT_EQ(IniStore(configIni).getInt("App", "top", 0), 9);
    // Writable, the file beside the program is the one.
    fs::permissions(openDir + "/tvorn.ini", fs::perms::all);
    EXPECT_TRUE(asUnprivileged([&] {
        return locateIni({std::nullopt, openDir, config, ""}).path == openDir + "/tvorn.ini";
    }));
}

// An installed program (prefix/bin beside prefix/lib/vorn) keeps its settings in the
// configuration folder even when it could write its own folder, unless a tvorn.ini is
// already beside it; the build tree's bin folder, without lib/vorn, is unaffected.
TEST(IniLocation, AnInstalledProgramUsesTheConfigFolderUnlessAFileIsBesideIt) {
    TempDir dir;
    const std::string installed = dir.subdir("usr/bin");
    dir.subdir("usr/lib/vorn");
    const std::string built = dir.subdir("build/bin");
    const std::string config = dir.subdir("cfg");
    EXPECT_TRUE(isInstalledLayout(installed));
    EXPECT_FALSE(isInstalledLayout(built));
    EXPECT_FALSE(isInstalledLayout(dir.path() + "/usr/lib"));

    const IniLocation fresh = locateIni({std::nullopt, installed, config, "/home/u"});
    EXPECT_EQ(fresh.path, config + "/vorn/tvorn.ini");
    EXPECT_EQ(fresh.seed, "");
    EXPECT_EQ(chooseIniPath({std::nullopt, installed, "", dir.path()}),
              dir.path() + "/.config/vorn/tvorn.ini");
    EXPECT_EQ(chooseIniPath({std::nullopt, built, config, "/home/u"}), built + "/tvorn.ini");

    std::ofstream(installed + "/tvorn.ini") << "[App]\nleft=7\n";
    EXPECT_EQ(chooseIniPath({std::nullopt, installed, config, "/home/u"}),
              installed + "/tvorn.ini");
}

}  // namespace
