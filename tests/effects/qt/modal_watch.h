#pragma once
// Acts on modal windows from inside their own event loop: polls for the next modal
// widget other than `ignore` and hands it to `action` once.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

inline std::unique_ptr<QTimer> onNextModal(std::function<void(QWidget*)> action,
                                           QWidget* ignore = nullptr) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(10);
    QTimer* raw = timer.get();
    QObject::connect(raw, &QTimer::timeout, raw, [raw, action = std::move(action), ignore] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == ignore || !modal->isVisible())
            return;
        raw->stop();
        action(modal);
    });
    timer->start();
    return timer;
}
