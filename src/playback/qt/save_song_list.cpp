#include "playback/qt/save_song_list.h"

#include <QFileDialog>

#include "songlist/core/playlist_file.h"
#include "songlist/core/song_list.h"

namespace {

constexpr const char* kBadNameText = "ファイル名が不正です";
constexpr const char* kEmptyListText = "曲目リストは空です。保存しません。";

// Songs whose path the list file can't carry were left out; the user must know the file
// holds fewer songs than the list.
std::string leftOutText(std::size_t songs) {
    return std::to_string(songs) +
           " 曲はパスにタブか改行を含む（または # で始まる）ため、書き出しませんでした。";
}

std::string cannotOpenText(const std::string& path, const std::string& reason) {
    return "指定されたファイル(" + path + ")が開けません。[" + reason + "]";
}

}  // namespace

std::optional<std::string> chooseSongListPath(QWidget* parent, const std::string& startFolder) {
    QFileDialog dialog(
        parent, QStringLiteral("File list select dialog"),
        QString::fromUtf8(startFolder.data(), static_cast<qsizetype>(startFolder.size())));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString m3u8Filter = QStringLiteral("M3U playlist (*.m3u8)");
    dialog.setNameFilters(
        {QStringLiteral("File list (*.lst)"), m3u8Filter, QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("lst"));
    // A name typed without suffix gets the one of the chosen kind of file.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(filter == m3u8Filter ? QStringLiteral("m3u8")
                                                     : QStringLiteral("lst"));
    });
    // Replacing an existing file is asked about (the dialog's default).
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::string();
    // Local 8-bit: the file name bytes as the file system holds them.
    const QByteArray bytes = QFile::encodeName(files.first());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int SaveSongList(const SongList& list, const std::string& startFolder, const SongListSaveUi& ui) {
    using namespace save_song_list;
    const std::optional<std::string> path = ui.choosePath(startFolder);
    if (!path)
        return kSaved;
    if (path->empty()) {
        ui.showMessage(kBadNameText);
        return kBadName;
    }
    if (list.count() == 0) {
        ui.showMessage(kEmptyListText);
        return kEmptyList;
    }
    std::string reason;
    std::size_t leftOut = 0;
    if (writeListFile(*path, list, &reason, &leftOut) != 0) {
        // Failing silently would leave the user believing the list was saved.
        ui.showMessage(cannotOpenText(*path, reason));
        return kCannotCreate;
    }
    if (leftOut > 0)
        ui.showMessage(leftOutText(leftOut));
    return kSaved;
}
