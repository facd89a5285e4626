#include "playback/qt/player_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

#include "app/core/app_settings.h"
#include "app/core/text_cut.h"
#include "app/widgets/about_box.h"
#include "app/widgets/app_icons.h"
#include "app/widgets/dialog_units.h"
#include "app/widgets/flat_button.h"
#include "app/widgets/window_position.h"
#include "playback/core/play_sequencer.h"
#include "playback/core/play_session.h"
#include "playback/gst/media_graph.h"
#include "playback/gst/media_probe.h"
#include "playback/qt/player_host.h"
#include "playback/qt/player_keys.h"
#include "playback/qt/position_slider.h"
#include "playback/qt/window_timers.h"
#include "songlist/core/song_list.h"
#include "songlist/qt/song_list_view.h"

namespace {

constexpr const char* kWriteListText =
    QT_TRANSLATE_NOOP("PlayerWindow", "現在のリストをファイルに書き出す ...");
constexpr const char* kExitText = QT_TRANSLATE_NOOP("PlayerWindow", "アプリケーションの終了");
constexpr const char* kSettingsText = QT_TRANSLATE_NOOP("PlayerWindow", "Settings ...");
constexpr const char* kStopText = QT_TRANSLATE_NOOP("PlayerWindow", "再生停止");
constexpr const char* kSliderSeparator = " # ";
constexpr const char* kVolumeText = QT_TRANSLATE_NOOP("PlayerWindow", "音量 %1%");
constexpr int kVolumeShownMs = 1500;
constexpr int kWheelStep = 120;  // one notch of a mouse wheel, in eighths of a degree
// Tooltips have no fixed buffer here; a sane cap keeps a damaged name from flooding one.
constexpr std::size_t kToolTipMaxBytes = 4095;

// The user's language's text for one of this window's source texts.
QString uiText(const char* source) {
    return QCoreApplication::translate("PlayerWindow", source);
}

QString fromBytes(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct SessionCommandText {
    int id;
    const char* text;
};

// The commands on the current song, in menu order after "previous" and "next".
constexpr SessionCommandText kSongCommands[] = {
    {player_command::ID_RESTART_SONG, QT_TRANSLATE_NOOP("PlayerWindow", "曲の始めに戻る")},
    {player_command::ID_REMOVE_SONG,
     QT_TRANSLATE_NOOP("PlayerWindow", "この曲をリストから削除する")},
    {player_command::ID_STOP_AFTER_SONG,
     QT_TRANSLATE_NOOP("PlayerWindow", "この曲が終了したら再生停止する")},
    {player_command::ID_CHOOSE_SONG, QT_TRANSLATE_NOOP("PlayerWindow", "選曲をする")},
};

}  // namespace

PlayerWindow::PlayerWindow(PlayerHost& host)
    : PlayerWindow(host, std::make_unique<MediaGraph>(MediaGraph::Mode::Playback),
                   makeMediaProbeFactory()) {}

PlayerWindow::PlayerWindow(PlayerHost& host, std::unique_ptr<Player> player,
                           SongProbeFactory probes)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      host_(host),
      player_(std::move(player)) {
    setObjectName(QStringLiteral("PlayerWindow"));
    // Tips show also over the window while another one is active.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    timers_ = new WindowTimers([this](TimerId id) { onTimer(id); }, this);
    // The wake-up is a queued call with this window as its context: dropped should the
    // window go first. While the session waits for another thread the windows are painted
    // and the event loop served; user input waits, so no command re-enters the sequencer
    // in the middle of its own work.
    PlaySession::OwnerHooks hooks{
        [this] {
            QMetaObject::invokeMethod(
                this, [this] { session_->serve(); }, Qt::QueuedConnection);
        },
        [this] {
            if (!destroying_)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }};
    session_ = std::make_unique<PlaySession>(*player_, *timers_, *this, host_.settings(),
                                             std::move(probes), std::move(hooks));
    session_->sequencer().setListener(&host_);
    saveUi_.choosePath = [this](const std::string& folder) {
        return chooseSongListPath(this, folder);
    };
    saveUi_.showMessage = [this](const std::string& text) { showMessage(text); };
    buildControls();
}

PlayerWindow::~PlayerWindow() {
    // The search thread may still be sending SearchDone: stop it while serving the sends,
    // and nothing else: the window is half gone.
    destroying_ = true;
    session_->shutdown();
    // The list view shows the session's list: it goes first.
    delete listView_;
    listView_ = nullptr;
    session_.reset();
    player_.reset();
}

PlaySequencer& PlayerWindow::sequencer() {
    return session_->sequencer();
}

SongList& PlayerWindow::songList() {
    return session_->list();
}

void PlayerWindow::buildControls() {
    setWindowTitle(uiText(QT_TRANSLATE_NOOP("PlayerWindow", "Player")));
    setWindowIcon(appIcon());
    setFont(dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.x(263), units.y(23));

    fileButton_ = new FlatButton(uiText(QT_TRANSLATE_NOOP("PlayerWindow", "&File")), this);
    fileButton_->setProperty("controlId", player_command::ID_FILE_BUTTON);
    fileButton_->setGeometry(units.rect(1, 2, 20, 18));
    fileButton_->setToolTip(uiText(kOtherControlTip));
    connect(fileButton_, &QPushButton::clicked, this, &PlayerWindow::openFileMenu);

    slider_ = new PositionSlider(this);
    slider_->setGeometry(units.rect(23, 2, 240, 20));
    slider_->setThumb(thumbPixmap());
    slider_->setSliderText(QStringLiteral("Slider2"));
    slider_->installEventFilter(this);
    connect(slider_, &PositionSlider::seekRequested, this, &PlayerWindow::onSeekRequested);
    setTabOrder(fileButton_, slider_);

    // The list view: a pop-up owned by this window, over exactly this window's place.
    listView_ = new SongListView(this);
    listView_->setList(&session_->list());
    listView_->setGeometry(geometry());
    listView_->SetItemCount(session_->list().count());
    listView_->setNotify([this](int index) { postPlayIndex(index); });

    volumeShown_ = new QTimer(this);
    volumeShown_->setSingleShot(true);
    connect(volumeShown_, &QTimer::timeout, this, [this] { slider_->setSliderText(songText_); });
    installPlayerKeys(*this, {[this] { command(player_command::ID_PAUSE_RESUME); },
                              [this](double seconds) { seekBy(seconds); },
                              [this](int percent) { changeVolumeBy(percent); }});
}

void PlayerWindow::seekBy(double seconds) {
    PlaySequencer& sequencer = session_->sequencer();
    if (sequencer.nowPlaying().canSeek)
        seekTo(sequencer.positionSeconds() + seconds);
}

void PlayerWindow::changeVolumeBy(int percent) {
    int& volume = host_.settings().app.Volume;
    volume = std::clamp(volume + percent, 0, 100);
    session_->sequencer().volumeChanged();
    slider_->setSliderText(uiText(kVolumeText).arg(volume));
    volumeShown_->start(kVolumeShownMs);
}

void PlayerWindow::wheelTurned(QWheelEvent& event) {
    wheelRest_ += event.angleDelta().y();
    const int steps = wheelRest_ / kWheelStep;
    wheelRest_ -= steps * kWheelStep;
    if (steps != 0)
        changeVolumeBy(steps * kVolumeStepPercent);
    event.accept();
}

void PlayerWindow::wheelEvent(QWheelEvent* event) {
    wheelTurned(*event);
}

int PlayerWindow::startSession(const std::string& selection, ListType kind) {
    // A new selection during a session (handed over from outside): the song playing now
    // stops, so its end can't end the new session before its first song.
    if (session_->sequencer().inSession())
        player_->Stop();
    return session_->sequencer().startSession(selection, kind);
}

bool PlayerWindow::command(int id) {
    using namespace player_command;
    switch (id) {
        case ID_FILE_BUTTON:
            openFileMenu();
            return true;
        case ID_WRITE_LIST:
            saveSongList();
            return true;
        case ID_SETTINGS:
            host_.openSettings(1);
            return true;
        case ID_ABOUT_BOX:
            AboutBox::showFor(this);
            return true;
        default:
            return session_->sequencer().onCommand(id);
    }
}

NowPlaying PlayerWindow::nowPlaying() {
    return session_->sequencer().nowPlaying();
}

double PlayerWindow::positionSeconds() {
    return session_->sequencer().positionSeconds();
}

void PlayerWindow::seekTo(double seconds) {
    if (session_->sequencer().seekTo(seconds))
        onPositionTick();
}

int PlayerWindow::saveSongList() {
    return SaveSongList(session_->list(), host_.settings().other.flist, saveUi_);
}

void PlayerWindow::addCommand(QMenu& menu, int id, const QString& text, bool enabled) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, [this, id] { command(id); });
}

void PlayerWindow::fillMenu(QMenu& menu) {
    using namespace player_command;
    addCommand(menu, ID_PAUSE_RESUME, uiText(player_->CanPause() ? kPauseText : kResumeText));
    const SessionPlace place = session_->sequencer().place();
    if (place.currentIndex >= 0) {
        // The desktop's media controls offer Previous and Next by the same rule.
        if (!place.random)
            addCommand(menu, ID_PREV_SONG,
                       uiText(QT_TRANSLATE_NOOP("PlayerWindow", "前の曲を選択する")),
                       canGoPrevious(place));
        addCommand(menu, ID_NEXT_SONG,
                   uiText(QT_TRANSLATE_NOOP("PlayerWindow", "次の曲を選択する")), canGoNext(place));
        for (const SessionCommandText& item : kSongCommands)
            addCommand(menu, item.id, uiText(item.text));
    }
    menu.addSeparator();
    addCommand(menu, ID_SETTINGS, uiText(kSettingsText));
    addCommand(menu, ID_STOP_PLAYING, uiText(kStopText));
}

void PlayerWindow::fillFileMenu(QMenu& menu) {
    addCommand(menu, player_command::ID_WRITE_LIST, uiText(kWriteListText));
    fillMenu(menu);
    addCommand(menu, player_command::ID_APP_EXIT, uiText(kExitText));
}

void PlayerWindow::fillContextMenu(QMenu& menu) {
    fillMenu(menu);
    // Qt offers no system menu to extend: the about box is reached from here instead.
    menu.addSeparator();
    addCommand(menu, player_command::ID_ABOUT_BOX,
               QCoreApplication::translate("AboutBox", kAboutMenuText));
}

QPoint PlayerWindow::fileMenuAnchor() const {
    return fileButton_->mapToGlobal(fileButton_->rect().bottomLeft());
}

void PlayerWindow::openFileMenu() {
    QMenu menu(this);
    fillFileMenu(menu);
    menu.exec(fileMenuAnchor());
}

void PlayerWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    fillContextMenu(menu);
    menu.exec(event->globalPos());
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            command(player_command::ID_STOP_PLAYING);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            command(player_command::ID_FILE_BUTTON);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
    // The title bar's close button stops the session; the window only hides.
    event->ignore();
    command(player_command::ID_STOP_PLAYING);
}

bool PlayerWindow::trayInUse() const {
    return !host_.settings().other.isnoTaskTray && host_.trayAvailable();
}

void PlayerWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimised to the tray: hidden (unmapped and out of the task list) once the state
    // change is through; every show of this window is a showNormal.
    if (event->type() == QEvent::WindowStateChange)
        hideMinimizedToTray(*this, trayInUse());
}

bool PlayerWindow::eventFilter(QObject* watched, QEvent* event) {
    // The wheel over the slider is the window's volume, as anywhere over the window.
    if (watched == slider_ && event->type() == QEvent::Wheel) {
        wheelTurned(*static_cast<QWheelEvent*>(event));
        return true;
    }
    if (watched == slider_ && event->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), sliderToolTip(), slider_);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QString PlayerWindow::sliderToolTip() const {
    const QByteArray sliderText = slider_->sliderText().toUtf8();
    std::string text(sliderText.constData(), static_cast<std::size_t>(sliderText.size()));
    const int current = session_->sequencer().currentIndex();
    if (current >= 0 && current < session_->list().count())
        text += kSliderSeparator + session_->list().pathAt(current);
    return fromBytes(cutUtf8(text, kToolTipMaxBytes));
}

void PlayerWindow::onTimer(TimerId id) {
    switch (id) {
        case TimerId::AdvanceTimer:
            session_->sequencer().onAdvanceTimer();
            break;
        case TimerId::PositionTimer:
            onPositionTick();
            break;
        default:
            session_->sequencer().onResumeTimer();
            timers_->killTimer(id);
            break;
    }
}

void PlayerWindow::onPositionTick() {
    const int before = slider_->value();
    const int position = session_->sequencer().onPositionTimer();
    // While the user drags the thumb, the drag decides where it stands.
    if (!slider_->isSliderDown()) {
        slider_->setValue(position);
        if (slider_->value() != before)
            slider_->setSelection(0, slider_->value());
    }
    slider_->setElapsedText(fromBytes(session_->sequencer().elapsedTimeText()));
    slider_->repaintTimeText();
}

void PlayerWindow::onSeekRequested(int position) {
    session_->sequencer().seekToSlider(position);
    slider_->setValue(position);
}

void PlayerWindow::syncSliderTexts() {
    slider_->setTimeTexts(fromBytes(session_->sequencer().elapsedTimeText()),
                          fromBytes(session_->sequencer().totalTimeText()));
    slider_->setStopMark(session_->sequencer().stopAfterCurrent());
}

void PlayerWindow::setStatusText(const std::string& text) {
    setWindowTitle(fromBytes(text));
}

void PlayerWindow::setSliderText(const std::string& text) {
    // The sequencer's own words are translated; a song's description is shown as it is.
    const bool searching = text == kSearchingText || text == kStillSearchingText;
    songText_ =
        searching ? QCoreApplication::translate("PlaySequencer", text.c_str()) : fromBytes(text);
    // Shown when the volume has been shown its moment.
    if (!volumeShown_->isActive())
        slider_->setSliderText(songText_);
    syncSliderTexts();
}

void PlayerWindow::resetSlider() {
    slider_->setValue(0);
    slider_->clearSelection();
    syncSliderTexts();
}

void PlayerWindow::refreshItemCount(int count) {
    listView_->SetItemCount(count);
}

void PlayerWindow::showMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kProgramCaption), fromBytes(text),
                    QMessageBox::Ok, isVisible() ? this : nullptr);
    box.exec();
}

void PlayerWindow::setTrayTip(const std::string& text) {
    host_.setTrayTip(text);
}

void PlayerWindow::iconify() {
    // Once the hand-over's show is through and the window manager has placed the window
    // (a window not yet mapped can't be minimised): hidden to the tray, or minimised when
    // there is no tray.
    QMetaObject::invokeMethod(
        this,
        [this] {
            whenPlaced(*this, [this] {
                if (!isVisible())
                    return;
                if (trayInUse())
                    hide();
                else
                    showMinimized();
            });
        },
        Qt::QueuedConnection);
}

void PlayerWindow::redrawSlider() {
    slider_->setStopMark(session_->sequencer().stopAfterCurrent());
    slider_->update();
}

void PlayerWindow::showSongList(int index) {
    // Over this window's frame, as wide, tall enough for a useful number of rows.
    listView_->placeAt(frameGeometry().topLeft(), frameGeometry().width());
    listView_->SetItemCount(session_->list().count());
    listView_->setNotify([this](int picked) { postPlayIndex(picked); });
    listView_->selectRow(index);
    listView_->show();
    listView_->raise();
    listView_->activateWindow();
}

void PlayerWindow::soundExclamation() {
    QApplication::beep();
}

void PlayerWindow::postPlayIndex(int index) {
    QMetaObject::invokeMethod(
        this, [this, index] { session_->sequencer().onPlayIndex(index); }, Qt::QueuedConnection);
}

void PlayerWindow::handBackToMainBar() {
    host_.handBackToMainBar(*this);
    listView_->hide();
    hide();
}

void PlayerWindow::postExitToMainBar() {
    host_.postExitToMainBar();
}

bool PlayerWindow::endSearch(std::chrono::milliseconds limit) {
    return session_->shutdown(limit);
}
