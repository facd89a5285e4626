#include "effects/qt/path_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

std::optional<QString> chooseFolder(QWidget* owner, const QString& initial) {
    const QString folder = QFileDialog::getExistingDirectory(
        owner,
        QCoreApplication::translate("PathDialogs", "ファイルまたはフォルダを選択してください。"),
        initial);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> chooseFilterListFile(QWidget* owner) {
    QFileDialog dialog(owner,
                       QCoreApplication::translate("PathDialogs", "Filter list select dialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QCoreApplication::translate("PathDialogs", "Filter list (*.fil)"),
                           QCoreApplication::translate("PathDialogs", "All Files(*.*) (*)")});
    dialog.setDefaultSuffix(QStringLiteral("fil"));
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            return std::nullopt;
        const QString path = QFileInfo(files.first()).absoluteFilePath();
        if (QFileInfo::exists(path))
            return path;
        // A report file that does not exist yet is created by the first report; ask first.
        const auto answer = QMessageBox::question(
            &dialog, dialog.windowTitle(),
            QCoreApplication::translate("PathDialogs",
                                        "%1\nこのファイルは存在しません。\nファイルを作成しますか?")
                .arg(path));
        if (answer == QMessageBox::Yes)
            return path;
    }
    return std::nullopt;
}
