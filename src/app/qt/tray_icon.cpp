#include "app/qt/tray_icon.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include "app/core/text_cut.h"
#include "app/widgets/menu_source.h"

namespace {

constexpr int kFollowIntervalMs = 500;

}  // namespace

QString trayTipText(std::string_view tip) {
    return QString::fromStdString(cutUtf8(tip, kTrayTipBytes));
}

QtTrayBackend::QtTrayBackend() : icon_(std::make_unique<QSystemTrayIcon>()) {
    QObject::connect(
        icon_.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
            // Desktops with a StatusNotifier tray report a click on the
            // icon as Trigger and never as DoubleClick; there a click is
            // the only way back from the tray.
            const bool bringBack =
                reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger;
            if (bringBack && onDoubleClick)
                onDoubleClick();
        });
}

QtTrayBackend::~QtTrayBackend() = default;

bool QtTrayBackend::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTrayBackend::isShown() const {
    return icon_->isVisible();
}

void QtTrayBackend::show(const QIcon& icon, const QString& tip) {
    icon_->setIcon(icon);
    icon_->setToolTip(tip);
    icon_->show();
}

void QtTrayBackend::hide() {
    icon_->hide();
}

void QtTrayBackend::setTip(const QString& tip) {
    icon_->setToolTip(tip);
}

void QtTrayBackend::setMenu(QMenu* menu) {
    icon_->setContextMenu(menu);
}

TrayIcon::TrayIcon(std::unique_ptr<TrayBackend> backend, std::function<QWidget*()> mainWindow,
                   std::function<MenuSource*()> menuSource)
    : backend_(std::move(backend)),
      mainWindow_(std::move(mainWindow)),
      menuSource_(std::move(menuSource)),
      menu_(std::make_unique<QMenu>()) {
    backend_->onDoubleClick = [this] { bringBackMainWindow(); };
    // The menu is filled afresh each time it opens: the window that has the screen may
    // have changed, and its items (pause or resume...) depend on the moment.
    QObject::connect(menu_.get(), &QMenu::aboutToShow, [this] { prepareMenu(); });
    backend_->setMenu(menu_.get());
    // The tray host may start after the program, or end while a window is hidden in it.
    wasAvailable_ = backend_->isAvailable();
    follow_ = std::make_unique<QTimer>();
    follow_->setInterval(kFollowIntervalMs);
    QObject::connect(follow_.get(), &QTimer::timeout, [this] { followAvailability(); });
    follow_->start();
}

TrayIcon::~TrayIcon() {
    follow_.reset();
    backend_->setMenu(nullptr);
    backend_->onDoubleClick = nullptr;
    removeIcon();
}

bool TrayIcon::inUse(bool isnoTaskTray) const {
    return !isnoTaskTray && backend_->isAvailable();
}

void TrayIcon::addIcon(const QIcon& icon, std::string_view tip) {
    if (backend_->isShown())
        return;
    wanted_ = true;
    icon_ = icon;
    tip_ = trayTipText(tip);
    if (backend_->isAvailable())
        backend_->show(icon_, tip_);
}

void TrayIcon::removeIcon() {
    wanted_ = false;
    if (backend_->isShown())
        backend_->hide();
}

void TrayIcon::setTip(std::string_view tip) {
    if (!backend_->isShown() && !wanted_)
        return;
    tip_ = trayTipText(tip);
    if (backend_->isShown())
        backend_->setTip(tip_);
}

void TrayIcon::followAvailability() {
    const bool available = backend_->isAvailable();
    const bool lost = wasAvailable_ && !available;
    wasAvailable_ = available;
    if (available && wanted_ && !backend_->isShown())
        backend_->show(icon_, tip_);
    if (lost) {
        if (backend_->isShown())
            backend_->hide();
        if (onTrayLost)
            onTrayLost();
    }
}

bool TrayIcon::isShown() const {
    return backend_->isShown();
}

void TrayIcon::bringBackMainWindow() {
    QWidget* window = mainWindow_ ? mainWindow_() : nullptr;
    if (window == nullptr)
        return;
    window->showNormal();
    window->raise();
    window->activateWindow();
    window->showNormal();
}

void TrayIcon::prepareMenu() {
    menu_->clear();
    MenuSource* source = menuSource_ ? menuSource_() : nullptr;
    if (source != nullptr)
        source->fillMenu(*menu_);
}
