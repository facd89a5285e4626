#pragma once
// The dialogs and popup menus the main bar opens, behind one interface so that tests can
// answer them; QtMainBarDialogs is the real one.
#include <QString>
#include <QStringList>
#include <optional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

// An open-file dialog as the main bar asks for it.
struct FileDialogRequest {
    QString title;
    QString initialFolder;
    QStringList nameFilters;  // "name (patterns)", the first one selected
    bool multiple = false;
};

class MainBarDialogs {
  public:
    virtual ~MainBarDialogs() = default;
    // The folder browser titled `title`, opened at `initial`; nothing when cancelled.
    virtual std::optional<QString> chooseFolder(QWidget* owner, const QString& title,
                                                const QString& initial) = 0;
    // The open-file dialog; the chosen existing files in the dialog's order, none when
    // cancelled.
    virtual QStringList chooseFiles(QWidget* owner, const FileDialogRequest& request) = 0;
    // Opens `menu` with its top-left corner at `at` (screen coordinates) and returns the
    // action chosen, null when the menu was dismissed. A chosen action has been triggered.
    virtual QAction* runMenu(QMenu& menu, const QPoint& at) = 0;
};

class QtMainBarDialogs : public MainBarDialogs {
  public:
    std::optional<QString> chooseFolder(QWidget* owner, const QString& title,
                                        const QString& initial) override;
    QStringList chooseFiles(QWidget* owner, const FileDialogRequest& request) override;
    QAction* runMenu(QMenu& menu, const QPoint& at) override;
};

// The folder a dialog opens in for the selection text `text`: its first path when that is
// a folder, else that path's folder when it exists, else empty (the dialog's default).
QString initialFolderOf(const QString& text);

// "audio file (*.wav *.mp3 *.avi)" for the searchExtent "*.wav;*.mp3;*.avi".
QString audioFileFilter(const QString& searchExtent);
