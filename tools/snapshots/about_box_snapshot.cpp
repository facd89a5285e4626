// Shows the about box on a real display and saves what a user sees, window frame
// included, to the PNG file named by the first argument. With a second argument
// "hover" the pointer rests on the link so its tooltip and hover colours show.
#include "app/widgets/about_box.h"
#include "app/widgets/link_label.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [hover]\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool hover = argc > 2 && QByteArray(argv[2]) == "hover";

    QWidget owner;
    owner.setWindowTitle(QStringLiteral("vorn"));
    owner.resize(300, 200);
    owner.move(40, 40);
    owner.show();

    AboutBox box(&owner);
    box.move(120, 120);
    box.show();
    if (hover) {
        QTimer::singleShot(
            600, [&box] { QCursor::setPos(box.link()->mapToGlobal(box.link()->rect().center())); });
    }
    int result = 1;
    QTimer::singleShot(hover ? 2500 : 1200, [&] {
        const QRect frame = box.frameGeometry().adjusted(-8, -8, hover ? 220 : 8, hover ? 40 : 8);
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
            0, frame.x(), frame.y(), frame.width(), frame.height());
        result = shot.save(out) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return result;
}
