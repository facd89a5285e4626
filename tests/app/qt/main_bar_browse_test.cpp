// Browsing and dropping on the main bar, over real temporary folders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <filesystem>
#include <fstream>

#include "main_bar_fakes.h"

namespace {

std::string touch(const std::string& path) {
    std::ofstream(path) << "x";
    return path;
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

TEST(MainBarBrowse, FolderModeAsksForAFolderAndPushesIt) {
    FakeHost host;
    const std::string music = host.dir.subdir("music");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->currentComboBox()->setEditText(q(music));

    dialogs->folderAnswer = std::nullopt;  // cancelled
    bar->command(MainBar::BrowseId);
    EXPECT_TRUE(bar->history(Folder).empty());
    ASSERT_EQ(dialogs->folderTitles.size(), 1u);
    EXPECT_EQ(dialogs->folderTitles[0],
              QStringLiteral("ファイルまたはフォルダを選択してください。"));
    EXPECT_EQ(dialogs->initialFolders[0], q(music));

    dialogs->folderAnswer = q(music + "/jazz");
    bar->command(MainBar::BrowseId);
    EXPECT_EQ(bar->history(Folder).entries(), std::vector<std::string>{music + "/jazz"});
    EXPECT_EQ(bar->currentComboBox()->currentText(), q(music + "/jazz"));
    EXPECT_TRUE(host.handOvers.empty()) << "browsing never plays";
}

TEST(MainBarBrowse, FileModeJoinsEveryChosenFile) {
    FakeHost host("[App]\nListType=1\n");
    host.appSettings.other.searchExtent = "*.wav;*.mp3;*.ogg";
    const std::string a = touch(host.dir.file("a.wav"));
    const std::string b = touch(host.dir.file("b.mp3"));
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->currentComboBox()->setEditText(q(a + "|"));

    dialogs->filesAnswer = {q(a), q(b)};
    bar->command(MainBar::BrowseId);
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    const FileDialogRequest& request = dialogs->fileRequests[0];
    EXPECT_EQ(request.title, "File select dialog");
    EXPECT_EQ(request.nameFilters,
              (QStringList{"audio file (*.wav *.mp3 *.ogg)", "All Files (*)"}));
    EXPECT_TRUE(request.multiple);
    EXPECT_EQ(request.initialFolder, q(host.dir.path())) << "the folder of the text's first file";
    EXPECT_EQ(bar->history(File).entries(), std::vector<std::string>{a + "|" + b + "|"});

    // One file ends with "|" too; a cancelled dialog adds nothing.
    dialogs->filesAnswer = {q(b)};
    bar->command(MainBar::BrowseId);
    EXPECT_EQ(bar->history(File).entries().front(), b + "|");
    dialogs->filesAnswer = {};
    bar->command(MainBar::BrowseId);
    EXPECT_EQ(bar->history(File).size(), 2u);
}

TEST(MainBarBrowse, SongListModeTakesOneListFile) {
    FakeHost host("[App]\nListType=2\n");
    const std::string list = touch(host.dir.file("songs.lst"));
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    dialogs->filesAnswer = {q(list)};
    bar->command(MainBar::BrowseId);
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    EXPECT_EQ(dialogs->fileRequests[0].title, "SongList select dialog");
    EXPECT_EQ(dialogs->fileRequests[0].nameFilters,
              (QStringList{"File list (*.lst)", "Playlist (*.m3u *.m3u8 *.pls)", "All Files (*)"}));
    EXPECT_FALSE(dialogs->fileRequests[0].multiple);
    EXPECT_TRUE(dialogs->fileRequests[0].initialFolder.isEmpty());
    EXPECT_EQ(bar->history(SongListFile).entries(), std::vector<std::string>{list});
}

TEST(MainBarBrowse, APathHoldingTheSeparatorIsNotTaken) {
    // The searcher splits a selection at "|": such a name would select other files.
    FakeHost host("[App]\nListType=1\n");
    const std::string odd = touch(host.dir.file("a|b.wav"));
    const std::string plain = touch(host.dir.file("c.wav"));
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    dialogs->filesAnswer = {q(odd), q(plain)};
    bar->command(MainBar::BrowseId);
    EXPECT_EQ(bar->history(File).entries(), std::vector<std::string>{plain + "|"});
}

class MainBarDrop : public ::testing::Test {
  protected:
    void SetUp() override {
        folderA = host.dir.subdir("A");
        folderB = host.dir.subdir("B");
        song = touch(host.dir.file("song.wav"));
        list = touch(host.dir.file("x.lst"));
        missing = host.dir.file("gone.wav");
    }

    void fill(QMimeData& data) const {
        data.setUrls({QUrl::fromLocalFile(q(folderA)), QUrl::fromLocalFile(q(song)),
                      QUrl::fromLocalFile(q(missing)), QUrl::fromLocalFile(q(folderB)),
                      QUrl::fromLocalFile(q(list))});
    }

    FakeHost host;
    std::string folderA, folderB, song, list, missing;
};

TEST_F(MainBarDrop, FolderModeKeepsTheFolders) {
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    QMimeData data;
    fill(data);
    // A drop goes to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar.get(), &drop);
    EXPECT_EQ(bar->history(Folder).entries(),
              std::vector<std::string>{folderA + "|" + folderB + "|"});
    EXPECT_TRUE(host.handOvers.empty()) << "dropping never plays";
}

TEST_F(MainBarDrop, OtherModesKeepTheFilesAndSkipWhatCannotBeRead) {
    for (ListType mode : {File, SongListFile}) {
        FakeHost modeHost(std::string("[App]\nListType=") + std::to_string(mode) + "\n");
        ScriptedDialogs* dialogs = nullptr;
        auto bar = makeBar(modeHost, dialogs);
        QMimeData data;
        fill(data);
        bar->dropItems(data);
        EXPECT_EQ(bar->history(mode).entries(), std::vector<std::string>{song + "|" + list + "|"});
    }
}

TEST_F(MainBarDrop, NothingKeptAddsNothing) {
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(q(song)), QUrl::fromLocalFile(q(missing)),
                  QUrl(QStringLiteral("https://example.invalid/a"))});
    bar->dropItems(data);
    EXPECT_TRUE(bar->history(Folder).empty());
    EXPECT_EQ(bar->currentComboBox()->count(), 0);
}

TEST(MainBarDropPaths, KeepTheFileSystemsBytes) {
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"),
                 "# a comment\r\nfile:///tmp/caf%C3%A9\r\nfile:///tmp/raw%FFname\r\n"
                 "file://localhost/tmp/a%20b\r\nfile://elsewhere/tmp/c\r\nhttp://x/y\r\n");
    EXPECT_EQ(droppedPaths(data),
              (std::vector<std::string>{"/tmp/café", "/tmp/raw\xFFname", "/tmp/a b"}));
}

}  // namespace
