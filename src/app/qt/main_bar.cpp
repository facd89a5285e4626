#include "app/qt/main_bar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include "app/core/app_settings.h"
#include "app/core/text_cut.h"
#include "app/qt/main_bar_dialogs.h"
#include "app/qt/main_bar_host.h"
#include "app/widgets/about_box.h"
#include "app/widgets/app_icons.h"
#include "app/widgets/dialog_units.h"
#include "app/widgets/flat_button.h"
#include "app/widgets/window_position.h"
#include "songlist/core/file_uri.h"
#include "songlist/core/selection_text.h"

namespace {

constexpr const char* kAppSection = "App";
constexpr const char* kListTypeKey = "ListType";
constexpr const char* kLeftKey = "left";
constexpr const char* kTopKey = "top";
constexpr const char* kShowKey = "ICON";
constexpr const char* kMissing = "\x01";  // no ini value is ever this

// The window show commands stored in App/ICON.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kMinimize = 6;
constexpr int kShowMinNoActive = 7;

constexpr int kDropListWidth = 400;
// A selection of many files can run to kilobytes; the tooltip keeps its first kilobyte.
constexpr std::size_t kComboToolTipBytes = 1023;

constexpr std::array<ListType, 3> kModes = {Folder, File, SongListFile};

const char* controlString(int id) {
    switch (id) {
        case MainBar::PlayId:
            return QT_TRANSLATE_NOOP("MainBar", "再生開始");
        case MainBar::ExitId:
            return QT_TRANSLATE_NOOP("MainBar", "アプリケーションの終了");
        case MainBar::ModeButtonId:
            return QT_TRANSLATE_NOOP("MainBar", "フォルダ／ファイル／曲目リストの選択");
        case MainBar::BrowseId:
            return QT_TRANSLATE_NOOP("MainBar", "フォルダ／パスの参照");
        default:
            return nullptr;
    }
}

void tagControl(QWidget* control, int id) {
    control->setObjectName(QStringLiteral("control%1").arg(id));
    control->setProperty("controlId", id);
}

int controlIdOf(const QWidget* widget, const QWidget* window) {
    for (; widget != nullptr && widget != window; widget = widget->parentWidget()) {
        const QVariant id = widget->property("controlId");
        if (id.isValid())
            return id.toInt();
    }
    return 0;
}

bool isMode(int value) {
    return value >= Folder && value <= SongListFile;
}

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

int showCommandOf(const QWidget& window) {
    if (window.isMinimized())
        return kShowMinimized;
    if (window.isMaximized())
        return kShowMaximized;
    return kShowNormal;
}

}  // namespace

QString modeName(ListType mode) {
    switch (mode) {
        case File:
            return QCoreApplication::translate("MainBar", "F&ile");
        case SongListFile:
            return QCoreApplication::translate("MainBar", "&SongList");
        case Folder:
            break;
    }
    return QCoreApplication::translate("MainBar", "&Folder");
}

ListType listTypeFromIni(int stored) {
    return isMode(stored) ? static_cast<ListType>(stored) : Folder;
}

std::vector<std::string> droppedPaths(const QMimeData& data) {
    std::vector<std::string> paths;
    // The URI list carries the names as the file system's bytes (percent-encoded), also
    // names that are not valid UTF-8; QUrl would not keep those.
    const QByteArray list = data.data(QStringLiteral("text/uri-list"));
    if (!list.isEmpty()) {
        for (QByteArray line : list.split('\n')) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            // Only addresses of local files are paths; items of other schemes or hosts
            // are passed over as a drop passes over what it can't use.
            UriPath uri = pathOfUri(std::string_view(line.constData(), line.size()));
            if (uri.kind == UriKind::LocalFile)
                paths.push_back(std::move(uri.path));
        }
        return paths;
    }
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile())
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return paths;
}

MainBar::MainBar(MainBarHost& host, std::unique_ptr<MainBarDialogs> dialogs)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      host_(host),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtMainBarDialogs>()) {
    setWindowTitle(QString::fromUtf8(kProgramCaption));
    setWindowIcon(appIcon());
    setFont(dialogFont());
    setAcceptDrops(true);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    buildControls();
    loadState();
    restorePosition();
    showAtStart();
}

MainBar::~MainBar() = default;

void MainBar::buildControls() {
    const DialogUnits units(font());
    setFixedSize(units.x(267), units.y(19));

    // Created in tab order: the combo boxes, "...", Exit, Play, the mode button.
    const int comboIds[] = {FolderComboId, FileComboId, SongListComboId};
    const QRect comboArea = units.rect(76, 2, 175, 15);
    for (ListType mode : kModes) {
        auto* combo = new QComboBox(this);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);  // typing never changes the text on its own
        combo->setMaxVisibleItems(10);
        combo->view()->setMinimumWidth(kDropListWidth);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        const int height = std::min(combo->sizeHint().height(), comboArea.height());
        combo->setGeometry(comboArea.x(), comboArea.y(), comboArea.width(), height);
        tagControl(combo, comboIds[mode]);
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
        // A drop on the edit field is a drop on the bar (the drop rules), not text.
        combo->setAcceptDrops(false);
        combo->lineEdit()->setAcceptDrops(false);
        combo->hide();
        combos_[mode] = combo;
    }

    browseButton_ = new QPushButton(QStringLiteral("..."), this);
    browseButton_->setGeometry(units.rect(252, 2, 12, 13));
    tagControl(browseButton_, BrowseId);
    exitButton_ = new FlatButton(QCoreApplication::translate("MainBar", "&Exit"), this);
    exitButton_->setGeometry(units.rect(1, 0, 21, 18));
    tagControl(exitButton_, ExitId);
    playButton_ = new FlatButton(QCoreApplication::translate("MainBar", "&Play"), this);
    playButton_->setGeometry(units.rect(23, 0, 21, 18));
    tagControl(playButton_, PlayId);
    modeButton_ = new FlatButton(modeName(Folder), this);
    modeButton_->setGeometry(units.rect(44, 0, 28, 18));
    tagControl(modeButton_, ModeButtonId);

    for (QPushButton* button :
         {static_cast<QPushButton*>(exitButton_), static_cast<QPushButton*>(playButton_),
          static_cast<QPushButton*>(modeButton_), browseButton_}) {
        button->setAutoDefault(false);
        const int id = button->property("controlId").toInt();
        connect(button, &QPushButton::clicked, this, [this, id] { command(id); });
    }
}

void MainBar::loadState() {
    const ProfileStore& store = host_.profileStore();
    mode_ = listTypeFromIni(store.getInt(kAppSection, kListTypeKey, Folder));
    modeButton_->setText(modeName(mode_));
    for (ListType mode : kModes) {
        HistoryList& history = historyOf(mode);
        history.loadHistory(store, historySection(mode));
        QComboBox* combo = combos_[mode];
        for (const std::string& entry : history.entries())
            combo->addItem(fromUtf8(entry));
        if (!history.empty())
            combo->setCurrentIndex(0);
        combo->setVisible(mode == mode_);
    }
}

void MainBar::restorePosition() {
    const ProfileStore& store = host_.profileStore();
    const bool stored = store.getString(kAppSection, kLeftKey, kMissing) != kMissing ||
                        store.getString(kAppSection, kTopKey, kMissing) != kMissing;
    if (!stored)
        return;  // the first start: the window manager places the bar
    // Far beyond any screen, yet small enough that Qt's rectangle arithmetic can't overflow;
    // a coordinate clamped to it is on no screen and is rejected below.
    static constexpr int kFarthest = 1'000'000;
    auto coordinate = [&store](const char* key, int fallback) {
        return qBound(-kFarthest, store.getInt(kAppSection, key, fallback), kFarthest);
    };
    const QPoint current = pos();
    const QPoint wanted(coordinate(kLeftKey, current.x()), coordinate(kTopKey, current.y()));
    // The stored place is the frame's: taken only when the title bar can be reached
    // there (a screen no longer attached, or a title bar above the screen, would leave
    // the bar out of reach).
    if (titleBarReachable(wanted, frameSize().width()))
        move(wanted);
}

void MainBar::showAtStart() {
    if (!host_.settings().other.isStartAndPlay) {
        show();
        return;
    }
    switch (host_.profileStore().getInt(kAppSection, kShowKey, kShowNormal)) {
        case kShowMinimized:
        case kMinimize:
        case kShowMinNoActive:
            showMinimized();
            break;
        default:
            show();
            break;
    }
    queuePlay();
}

bool MainBar::command(int id) {
    switch (id) {
        case PlayId:
            play();
            return true;
        case ExitId:
            exit();
            return true;
        case ModeButtonId:
            showModeMenu();
            return true;
        case BrowseId:
            browse();
            return true;
        case ID_SETTINGS:
            host_.openSettings(0);
            return true;
        case ID_ABOUT:
            showAboutBox();
            return true;
        case ID_MODE_FOLDER:
        case ID_MODE_FILE:
        case ID_MODE_SONGLIST:
            switchMode(static_cast<ListType>(id - ID_MODE_FOLDER));
            return true;
        default:
            return false;
    }
}

void MainBar::play() {
    QComboBox* combo = currentComboBox();
    combo->setFocus();
    const std::string text = editTextBytes();
    pushHistory(text);
    host_.handOverToPlayer(*this, text, mode_);
}

void MainBar::exit() {
    if (exiting_)
        return;
    exiting_ = true;
    ProfileStore& store = host_.profileStore();
    saveHistories(store, histories_[Folder], histories_[File], histories_[SongListFile]);
    store.setInt(kAppSection, kListTypeKey, mode_);

    // Back on the screen when it was hidden in the tray, so its place can be kept.
    if (QWidget* window = host_.mainWindow()) {
        window->showNormal();
        window->raise();
        window->activateWindow();
    }
    // The place is the frame's, known once the window manager has placed the bar (it
    // may have been shown just now, at the end of a session or from the tray).
    whenPlaced(*this, [this] {
        ProfileStore& profile = host_.profileStore();
        const QPoint place = frameTopLeft(*this);
        profile.setInt(kAppSection, kLeftKey, place.x());
        profile.setInt(kAppSection, kTopKey, place.y());
        profile.setInt(kAppSection, kShowKey, showCommandOf(*this));
        host_.endProgram();
    });
}

void MainBar::browse() {
    QComboBox* combo = currentComboBox();
    const QString initial = initialFolderOf(combo->currentText());
    std::string result;
    switch (mode_) {
        case Folder: {
            const auto folder = dialogs_->chooseFolder(
                this, QCoreApplication::translate("MainBar", kFolderBrowseTitle), initial);
            if (folder && fitsSelection(folder->toStdString()))
                result = folder->toStdString();
            break;
        }
        case File: {
            FileDialogRequest request;
            request.title = QCoreApplication::translate("MainBar", "File select dialog");
            request.initialFolder = initial;
            request.nameFilters = {audioFileFilter(fromUtf8(host_.settings().other.searchExtent)),
                                   QCoreApplication::translate("MainBar", "All Files (*)")};
            request.multiple = true;
            std::vector<std::string> files;
            for (const QString& file : dialogs_->chooseFiles(this, request)) {
                if (fitsSelection(file.toStdString()))
                    files.push_back(file.toStdString());
            }
            result = joinSelection(files);
            break;
        }
        case SongListFile: {
            FileDialogRequest request;
            request.title = QCoreApplication::translate("MainBar", "SongList select dialog");
            request.initialFolder = initial;
            request.nameFilters = {
                QCoreApplication::translate("MainBar", "File list (*.lst)"),
                QCoreApplication::translate("MainBar", "Playlist (*.m3u *.m3u8 *.pls)"),
                QCoreApplication::translate("MainBar", "All Files (*)")};
            const QStringList files = dialogs_->chooseFiles(this, request);
            if (!files.isEmpty() && fitsSelection(files.front().toStdString()))
                result = files.front().toStdString();
            break;
        }
    }
    if (!result.empty())
        pushHistory(result);
}

void MainBar::showModeMenu() {
    QMenu menu(this);
    for (ListType mode : kModes) {
        QAction* item = menu.addAction(modeName(mode));
        item->setData(int(ID_MODE_FOLDER) + int(mode));
        item->setCheckable(true);
        item->setChecked(mode == mode_);
    }
    const QAction* chosen = dialogs_->runMenu(menu, modeMenuAnchor());
    if (chosen == nullptr)
        return;
    const int id = chosen->data().toInt();
    if (id >= ID_MODE_FOLDER && id <= ID_MODE_SONGLIST)
        switchMode(static_cast<ListType>(id - ID_MODE_FOLDER));
}

void MainBar::switchMode(ListType mode) {
    const ListType previous = mode_;
    modeButton_->setText(modeName(mode));
    mode_ = mode;
    combos_[mode]->show();
    if (previous != mode)
        combos_[previous]->hide();
    combos_[mode]->setFocus();
}

void MainBar::showAboutBox() {
    AboutBox::showFor(this);
}

void MainBar::postCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { command(id); }, Qt::QueuedConnection);
}

void MainBar::fillMenu(QMenu& menu) {
    const auto add = [&](const QString& text, int id) {
        QAction* item = menu.addAction(text);
        item->setData(id);
        connect(item, &QAction::triggered, this, [this, id] { postCommand(id); });
    };
    add(QCoreApplication::translate("MainBar", "Settings..."), ID_SETTINGS);
    menu.addSeparator();
    add(QCoreApplication::translate("MainBar", "exit"), ID_EXIT);
}

void MainBar::fillContextMenu(QMenu& menu) {
    fillMenu(menu);
    menu.addSeparator();
    QAction* about = menu.addAction(QCoreApplication::translate("AboutBox", kAboutMenuText));
    about->setData(ID_ABOUT);
    connect(about, &QAction::triggered, this, [this] { postCommand(ID_ABOUT); });
}

void MainBar::startWithSelection(ListType mode, const std::string& text) {
    switchMode(listTypeFromIni(mode));
    pushHistory(text);
    queuePlay();
}

void MainBar::playNow(ListType mode, const std::string& text) {
    switchMode(listTypeFromIni(mode));
    pushHistory(text);
    command(PlayId);
}

void MainBar::queuePlay() {
    if (playQueued_)
        return;
    playQueued_ = true;
    // Once start-up has finished and the window manager has placed the bar: the player
    // window takes the bar's place, which is known only then.
    QTimer::singleShot(0, this, [this] {
        whenPlaced(*this, [this] {
            playQueued_ = false;
            command(PlayId);
        });
    });
}

QComboBox* MainBar::comboBox(ListType mode) const {
    return isMode(mode) ? combos_[mode] : nullptr;
}

const HistoryList& MainBar::history(ListType mode) const {
    return histories_[listTypeFromIni(mode)];
}

HistoryList& MainBar::historyOf(ListType mode) {
    return histories_[listTypeFromIni(mode)];
}

void MainBar::pushHistory(std::string_view text) {
    HistoryList& history = historyOf(mode_);
    if (!history.pushHistory(text))
        return;  // already first: the list and the edit field stay as they are
    QComboBox* combo = currentComboBox();
    combo->clear();
    for (const std::string& entry : history.entries())
        combo->addItem(fromUtf8(entry));
    combo->setCurrentIndex(0);
}

std::string MainBar::editTextBytes() const {
    const QComboBox* combo = currentComboBox();
    const QString shown = combo->currentText();
    const std::vector<std::string>& entries = history(mode_).entries();
    // The selected entry first: two names that differ only in invalid bytes look alike.
    const int current = combo->currentIndex();
    if (current >= 0 && static_cast<std::size_t>(current) < entries.size() &&
        fromUtf8(entries[static_cast<std::size_t>(current)]) == shown)
        return entries[static_cast<std::size_t>(current)];
    for (const std::string& entry : entries) {
        if (fromUtf8(entry) == shown)
            return entry;
    }
    return shown.toStdString();
}

QWidget* MainBar::control(int id) const {
    return findChild<QWidget*>(QStringLiteral("control%1").arg(id), Qt::FindDirectChildrenOnly);
}

QString MainBar::toolTipText(int controlId) const {
    if (controlId == FolderComboId || controlId == FileComboId || controlId == SongListComboId)
        return fromUtf8(
            cutUtf8(currentComboBox()->currentText().toStdString(), kComboToolTipBytes));
    const char* text = controlString(controlId);
    return text != nullptr ? QCoreApplication::translate("MainBar", text) : QString();
}

QPoint MainBar::modeMenuAnchor() const {
    return modeButton_->mapToGlobal(QPoint(0, modeButton_->height()));
}

void MainBar::dropItems(const QMimeData& dropped) {
    const std::string selection = dropSelection(droppedPaths(dropped), mode_);
    if (!selection.empty())
        pushHistory(selection);
}

bool MainBar::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    // Tooltip requests of the controls come here (none of them has a fixed tooltip), so
    // the combo boxes can show their text as it is at this moment.
    const auto* help = static_cast<QHelpEvent*>(event);
    QWidget* child = childAt(help->pos());
    const QString text = toolTipText(controlIdOf(child, this));
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // Plain text shows on one line; a text Qt would take for markup (a path with "<") is
    // escaped and kept on one line too.
    const QString shown =
        Qt::mightBeRichText(text)
            ? QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped())
            : text;
    QToolTip::showText(help->globalPos(), shown, child != nullptr ? child : this);
    return true;
}

bool MainBar::eventFilter(QObject* watched, QEvent* event) {
    // Enter and Escape in a combo box's edit field are the bar's Play and Exit; the combo
    // box must not act on them (it would replace the text by a matching entry first).
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
            return QWidget::eventFilter(watched, event);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                command(PlayId);
                return true;
            case Qt::Key_Escape:
                command(ExitId);
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            command(ExitId);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // As in a dialog: Enter presses the focused button, else the default one (Play).
            auto* button = qobject_cast<QPushButton*>(focusWidget());
            if (button != nullptr && button->parentWidget() == this)
                button->click();
            else
                command(PlayId);
            return;
        }
        default:
            QWidget::keyPressEvent(event);
    }
}

void MainBar::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    // Closing the window is Exit; the host ends the program and destroys the windows.
    event->ignore();
    command(ExitId);
}

void MainBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        const bool trayInUse = !host_.settings().other.isnoTaskTray && host_.trayAvailable();
        hideMinimizedToTray(*this, trayInUse);
    }
    QWidget::changeEvent(event);
}

void MainBar::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    fillContextMenu(menu);
    dialogs_->runMenu(menu, event->globalPos());
}

void MainBar::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainBar::dropEvent(QDropEvent* event) {
    dropItems(*event->mimeData());
    event->acceptProposedAction();
}
