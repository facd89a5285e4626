#include "app/qt/app_host.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QSystemTrayIcon>

#include "app/qt/main_bar.h"
#include "app/qt/player_app.h"
#include "app/widgets/window_position.h"
#include "playback/qt/player_window.h"

AppSettings& AppHost::settings() {
    return app_.settings;
}

bool AppHost::trayAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void AppHost::openSettings(int startPage) {
    app_.openSettings(startPage);
}

ProfileStore& AppHost::profileStore() {
    return app_.iniStore();
}

QWidget* AppHost::mainWindow() const {
    return app_.mainWindow;
}

void AppHost::handOverToPlayer(QWidget& bar, const std::string& selection, ListType mode) {
    if (!player_)
        return;
    app_.mainWindow = player_;
    handScreenOver(bar, *player_);
    app_.menuSource = player_;
    player_->startSession(selection, mode);
}

void AppHost::endProgram() {
    app_.saveSettings();
    app_.removeTrayIcon();
    // The windows are destroyed by ExitInstance once the message loop has ended; the bar
    // is still inside its command handler here.
    QCoreApplication::quit();
}

void AppHost::setTrayTip(const std::string& text) {
    app_.setTrayTip(text);
    // Raise the bar in the window order without moving, sizing or activating it.
    if (bar_ && bar_->isVisible())
        bar_->raise();
}

void AppHost::handBackToMainBar(QWidget& playerWindow) {
    if (!bar_)
        return;
    app_.mainWindow = bar_;
    handScreenOver(playerWindow, *bar_);
    app_.menuSource = bar_;
}

void AppHost::postExitToMainBar() {
    if (bar_)
        QMetaObject::invokeMethod(bar_, "command", Qt::QueuedConnection, Q_ARG(int, 2));
}
