// Writing the current song list to a ".lst" file: the dialog's answer, the messages, the
// result codes and the file written.
#include <QDialog>
#include <QFileDialog>
#include <QTimer>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "playback/qt/save_song_list.h"
#include "player_window_fixture.h"
#include "songlist/core/song_list.h"
#include "support/temp_dir.h"

namespace pwtest {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A save dialog that answers with `answer` and remembers the folder it opened in.
struct ScriptedSaveUi {
    std::optional<std::string> answer;
    std::vector<std::string> folders;
    std::vector<std::string> messages;

    SongListSaveUi ui() {
        return {[this](const std::string& folder) {
                    folders.push_back(folder);
                    return answer;
                },
                [this](const std::string& text) { messages.push_back(text); }};
    }
};

class SaveSongListTest : public ::testing::Test {
  protected:
    testsupport::TempDir dir;
    SongList list;
    ScriptedSaveUi script;
};

TEST_F(SaveSongListTest, CancelWritesNothingAndSaysNothing) {
    list.append("/a.mp3", "", "");
    script.answer = std::nullopt;
    EXPECT_EQ(SaveSongList(list, "/start", script.ui()), 0);
    EXPECT_EQ(script.folders, std::vector<std::string>{"/start"});
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(SaveSongListTest, EmptyNameIsRefused) {
    list.append("/a.mp3", "", "");
    script.answer = "";
    EXPECT_EQ(SaveSongList(list, "", script.ui()), -1);
    EXPECT_EQ(script.messages, std::vector<std::string>{"ファイル名が不正です"});
}

TEST_F(SaveSongListTest, EmptyListCreatesNoFile) {
    script.answer = dir.file("empty.lst");
    EXPECT_EQ(SaveSongList(list, "", script.ui()), -2);
    EXPECT_EQ(script.messages, std::vector<std::string>{"曲目リストは空です。保存しません。"});
    EXPECT_FALSE(std::filesystem::exists(dir.file("empty.lst")));
}

TEST_F(SaveSongListTest, FileThatCannotBeCreatedIsReported) {
    list.append("/a.mp3", "", "");
    const std::string path = dir.file("missing/folder/list.lst");
    script.answer = path;
    EXPECT_EQ(SaveSongList(list, "", script.ui()), -3);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0],
              "指定されたファイル(" + path + ")が開けません。[No such file or directory]");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SaveSongListTest, WritesHeaderAndOneLinePerSong) {
    list.append("/music/a.mp3", "Author A", "Title A");
    list.append("/music/b b.wav", "", "");
    list.append("/music/日本.avi", "作者", "題名");
    script.answer = dir.file("out.lst");
    EXPECT_EQ(SaveSongList(list, "", script.ui()), 0);
    EXPECT_TRUE(script.messages.empty());
    const std::string text = readAll(dir.file("out.lst"));
    const std::string head = "#v1000\r\n# Song List created by (tavik Vornel) at ";
    ASSERT_EQ(text.substr(0, head.size()), head);
    // dd/mm/yyyy hh:mm:ss
    const std::string stamp = text.substr(head.size(), 19);
    const std::string shape = "00/00/0000 00:00:00";
    ASSERT_EQ(stamp.size(), shape.size());
    for (std::size_t i = 0; i < shape.size(); ++i)
        EXPECT_EQ(std::isdigit(static_cast<unsigned char>(stamp[i])) != 0, shape[i] == '0')
            << stamp;
    EXPECT_EQ(text.substr(head.size() + 19),
              "\r\n/music/a.mp3\tAuthor A\tTitle A\r\n"
              "/music/b b.wav\t\t\r\n"
              "/music/日本.avi\t作者\t題名\r\n");
}

TEST_F(SaveSongListTest, PathsTheFileCantCarryAreLeftOutAndCounted) {
    list.append("/music/a.mp3", "", "");
    list.append("/music/tab\there.mp3", "", "");
    list.append("/music/line\nbreak.mp3", "", "");
    script.answer = dir.file("out.lst");
    EXPECT_EQ(SaveSongList(list, "", script.ui()), 0);
    EXPECT_EQ(script.messages,
              std::vector<std::string>{
                  "2 曲はパスにタブか改行を含む（または # で始まる）ため、書き出しませんでした。"});
    EXPECT_NE(readAll(dir.file("out.lst")).find("\r\n/music/a.mp3\t\t\r\n"), std::string::npos);
}

// The window's command opens the save in the flist folder, every time.
TEST_F(PlayerWindowTest, WriteListCommandSavesTheCurrentList) {
    testsupport::TempDir dir;
    host.settings_.other.flist = dir.path();
    ScriptedSaveUi script;
    script.answer = dir.file("session.lst");
    window->setSaveUi(script.ui());

    EXPECT_TRUE(window->command(player_command::ID_WRITE_LIST));
    EXPECT_EQ(script.messages, std::vector<std::string>{"曲目リストは空です。保存しません。"});

    startPlaying(songs({"/songs/x.mp3", "/songs/y.mp3"}, lasting(100, "X", "Y")), 2);
    EXPECT_TRUE(window->command(player_command::ID_WRITE_LIST));
    EXPECT_EQ(script.folders, (std::vector<std::string>{dir.path(), dir.path()}));
    const std::string text = readAll(dir.file("session.lst"));
    EXPECT_NE(text.find("\r\n/songs/x.mp3\tX\tY\r\n/songs/y.mp3\tX\tY\r\n"), std::string::npos)
        << text;
}

// The real dialog: its title, filters, suffix and start folder; cancelling gives nullopt.
TEST(SongListSaveDialog, OffersListFilesInTheStartFolder) {
    testsupport::TempDir dir;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (dialog == nullptr || !dialog->isVisible())
                continue;
            seen = true;
            EXPECT_EQ(dialog->windowTitle(), "File list select dialog");
            EXPECT_EQ(dialog->nameFilters(),
                      QStringList({"File list (*.lst)", "M3U playlist (*.m3u8)", "All Files (*)"}));
            EXPECT_EQ(dialog->defaultSuffix(), "lst");
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
            EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
            EXPECT_EQ(std::filesystem::path(dialog->directory().absolutePath().toStdString()),
                      std::filesystem::canonical(dir.path()));
            dialog->reject();
        }
    });
    EXPECT_EQ(chooseSongListPath(nullptr, dir.path()), std::nullopt);
    EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace pwtest
