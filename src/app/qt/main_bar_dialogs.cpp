#include "app/qt/main_bar_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

std::optional<QString> QtMainBarDialogs::chooseFolder(QWidget* owner, const QString& title,
                                                      const QString& initial) {
    const QString folder = QFileDialog::getExistingDirectory(owner, title, initial);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

QStringList QtMainBarDialogs::chooseFiles(QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner, request.title, request.initialFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.nameFilters);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList files;
    for (const QString& file : dialog.selectedFiles())
        files << QFileInfo(file).absoluteFilePath();
    return files;
}

QAction* QtMainBarDialogs::runMenu(QMenu& menu, const QPoint& at) {
    return menu.exec(at);
}

QString initialFolderOf(const QString& text) {
    const QString first = text.section(QLatin1Char('|'), 0, 0);
    if (first.isEmpty())
        return {};
    const QFileInfo info(first);
    if (info.isDir())
        return info.absoluteFilePath();
    const QFileInfo parent(info.absolutePath());
    return parent.isDir() ? parent.absoluteFilePath() : QString();
}

QString audioFileFilter(const QString& searchExtent) {
    QStringList patterns;
    for (const QString& pattern : searchExtent.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty())
            patterns << trimmed;
    }
    return QCoreApplication::translate("MainBar", "audio file (%1)")
        .arg(patterns.join(QLatin1Char(' ')));
}
