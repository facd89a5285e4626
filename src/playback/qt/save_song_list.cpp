#include "playback/qt/save_song_list.h"

#include <QCoreApplication>
#include <QFileDialog>

#include <string>
#include <vector>

#include "songlist/core/playlist_file.h"
#include "songlist/core/song_list.h"

namespace {

// The user's language's text, in UTF-8.
std::string uiText(const char* source) {
    return QCoreApplication::translate("SaveSongList", source).toStdString();
}

// `text` with "%1", "%2"... replaced by the arguments in one pass (an argument holding
// "%2" stays as it is); done on bytes, so a path that is not valid UTF-8 is shown as it is.
std::string withArguments(const std::string& text, const std::vector<std::string>& arguments) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t number = i + 1 < text.size() ? std::size_t(text[i + 1] - '0') : 0;
        if (text[i] == '%' && number >= 1 && number <= arguments.size()) {
            result += arguments[number - 1];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

constexpr const char* kBadNameText = QT_TRANSLATE_NOOP("SaveSongList", "ファイル名が不正です");
constexpr const char* kEmptyListText =
    QT_TRANSLATE_NOOP("SaveSongList", "曲目リストは空です。保存しません。");

// Songs whose path the list file can't carry were left out; the user must know the file
// holds fewer songs than the list.
std::string leftOutText(std::size_t songs) {
    return withArguments(
        uiText(QT_TRANSLATE_NOOP(
            "SaveSongList",
            "%1 曲はパスにタブか改行を含む（または # で始まる）ため、書き出しませんでした。")),
        {std::to_string(songs)});
}

std::string cannotOpenText(const std::string& path, const std::string& reason) {
    return withArguments(
        uiText(QT_TRANSLATE_NOOP("SaveSongList", "指定されたファイル(%1)が開けません。[%2]")),
        {path, reason});
}

}  // namespace

std::optional<std::string> chooseSongListPath(QWidget* parent, const std::string& startFolder) {
    QFileDialog dialog(
        parent, QCoreApplication::translate("SaveSongList", "File list select dialog"),
        QString::fromUtf8(startFolder.data(), static_cast<qsizetype>(startFolder.size())));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString m3u8Filter = QCoreApplication::translate("SaveSongList", "M3U playlist (*.m3u8)");
    dialog.setNameFilters({QCoreApplication::translate("SaveSongList", "File list (*.lst)"),
                           m3u8Filter,
                           QCoreApplication::translate("SaveSongList", "All Files (*)")});
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
        ui.showMessage(uiText(kBadNameText));
        return kBadName;
    }
    if (list.count() == 0) {
        ui.showMessage(uiText(kEmptyListText));
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
