#pragma once
// The main bar: the program's small tool-bar window and its main window whenever no play
// session runs. The user picks what to play in one of three modes (folder, files, song
// list file), each with an editable combo box holding that mode's history; only the
// current mode's combo box is visible. Play hands the text and the mode to the player
// window; Exit writes the histories, the mode and the position and ends the program.
//
// Commands, as the buttons, keys and menus send them to command():
//   1 Play (the Play button, Enter)        2 Exit (the Exit button, Escape, close, "exit")
//   3 the mode menu (the mode button)      1002 browse for the current mode ("...")
//   32772 the settings sheet at page 0     16 the about box
//   401-403 switch to Folder, File, SongListFile
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/core/history_list.h"
#include "app/core/list_type.h"
#include "app/core/program_identity.h"
#include "app/qt/main_bar_dialogs.h"
#include "app/widgets/menu_source.h"

class FlatButton;
class MainBarHost;
class QComboBox;
class QMimeData;
class QPushButton;

class MainBar : public QWidget, public MenuSource {
    Q_OBJECT

  public:
    // Control ids; a control's tooltip is the string of the same number.
    enum ControlId {
        PlayId = 1,
        ExitId = 2,
        ModeButtonId = 3,
        BrowseId = 1002,
        FolderComboId = 501,
        FileComboId = 502,
        SongListComboId = 503,
    };
    // Command ids besides the buttons'.
    enum CommandId {
        ID_EXIT = 2,
        ID_MODE_FOLDER = 401,
        ID_MODE_FILE = 402,
        ID_MODE_SONGLIST = 403,
        ID_SETTINGS = shared_command::ID_SETTINGS,
    };

    static constexpr const char* kFolderBrowseTitle =
        QT_TRANSLATE_NOOP("MainBar", "ファイルまたはフォルダを選択してください。");

    // Creates the bar and shows it: reads the mode, the three histories and the position
    // from the host's profile store, and queues Play when isStartAndPlay is set.
    // `dialogs` null: the real dialogs and menus.
    explicit MainBar(MainBarHost& host, std::unique_ptr<MainBarDialogs> dialogs = nullptr);
    ~MainBar() override;

    // Carries out a command (see above); false for an id the bar doesn't know.
    Q_INVOKABLE bool command(int id);

    // MenuSource: "Settings...", a separator, "exit" (the context menu and the tray menu).
    void fillMenu(QMenu& menu) override;
    // The bar's own context menu: fillMenu, a separator and the about item (which the
    // window manager's menu can't take on this platform).
    void fillContextMenu(QMenu& menu);

    // Switches to `mode`, puts `text` onto its history and queues Play: a selection given
    // on the command line, played once start-up has finished.
    void startWithSelection(ListType mode, const std::string& text);
    // The same, played at once: a selection handed over while the player window has the
    // screen (the bar is hidden and need not be placed).
    void playNow(ListType mode, const std::string& text);
    // Queues one Play; a Play already queued is not queued twice.
    void queuePlay();
    bool isPlayQueued() const { return playQueued_; }

    ListType mode() const { return mode_; }
    QComboBox* comboBox(ListType mode) const;
    QComboBox* currentComboBox() const { return comboBox(mode_); }
    const HistoryList& history(ListType mode) const;
    // pushHistory on the current mode's combo box (its list and edit field follow).
    void pushHistory(std::string_view text);
    // What Play plays: the bytes of the history entry the edit field shows (a name that is
    // not valid UTF-8 is shown with replacement characters but kept as it was stored), or
    // the typed text when it shows none.
    std::string editTextBytes() const;

    // The control with the given id, or null.
    QWidget* control(int id) const;
    // The tooltip of a control: the current combo box's full edit text for 501 to 503, the
    // control's string otherwise; empty when it has none.
    QString toolTipText(int controlId) const;
    // Where the mode menu opens: the mode button's bottom-left corner, on the screen.
    QPoint modeMenuAnchor() const;

    // Hands the dropped items to the current mode (what a drop does).
    void dropItems(const QMimeData& dropped);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildControls();
    void loadState();
    void restorePosition();
    void showAtStart();

    void play();
    void exit();
    void browse();
    void showModeMenu();
    void switchMode(ListType mode);
    void showAboutBox();
    void postCommand(int id);
    HistoryList& historyOf(ListType mode);

    MainBarHost& host_;
    std::unique_ptr<MainBarDialogs> dialogs_;
    FlatButton* exitButton_ = nullptr;
    FlatButton* playButton_ = nullptr;
    FlatButton* modeButton_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    std::array<QComboBox*, 3> combos_{};
    std::array<HistoryList, 3> histories_;
    ListType mode_ = Folder;
    bool playQueued_ = false;
    bool exiting_ = false;
};

// The text of the mode button and of the mode menu's item for `mode`: "&Folder", "F&ile",
// "&SongList" (translated).
QString modeName(ListType mode);

// The ini key App/ListType as the bar reads it: a value outside 0 to 2, which only an
// edited file can hold, is taken as Folder.
ListType listTypeFromIni(int stored);

// The paths of the items in dropped data, as the file system names them.
std::vector<std::string> droppedPaths(const QMimeData& data);
