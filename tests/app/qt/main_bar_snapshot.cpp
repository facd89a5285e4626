// Shows the main bar on a real display and saves what a user sees, window frame included,
// to the PNG file named by the first argument. With a second argument "menu" the mode
// menu is open, with "tip" the pointer rests on the combo box so its tooltip shows.
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

#include "app/core/app_settings.h"
#include "app/core/ini_store.h"
#include "app/qt/main_bar.h"
#include "app/qt/main_bar_host.h"

namespace {

// A host that only keeps the store: nothing here plays or ends.
class ShowHost : public MainBarHost {
  public:
    explicit ShowHost(const std::string& ini) : store_(ini) {
        store_.setString("FolderHistory", "Dir0", "/home/user/音楽/ジャズ/Live at the Village");
        store_.setString("FolderHistory", "Dir1", "/home/user/Music");
        store_.setInt("App", "left", 60);
        store_.setInt("App", "top", 60);
    }
    ProfileStore& profileStore() override { return store_; }
    AppSettings& settings() override { return settings_; }
    bool trayAvailable() const override { return false; }
    QWidget* mainWindow() const override { return nullptr; }
    void handOverToPlayer(QWidget&, const std::string&, ListType) override {}
    void openSettings(int) override {}
    void endProgram() override {}

  private:
    IniStore store_;
    AppSettings settings_;
};

QPixmap grabAround(const QRect& area) {
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                        area.height());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.png [menu|tip]\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QByteArray extra = argc > 2 ? QByteArray(argv[2]) : QByteArray();

    ShowHost host(QDir::tempPath().toStdString() + "/main-bar-snapshot.ini");
    MainBar bar(host);
    int result = 1;
    const auto shoot = [&](int extraHeight, int extraWidth) {
        const QRect frame = bar.frameGeometry().adjusted(-8, -8, 8 + extraWidth, 8 + extraHeight);
        result = grabAround(frame).save(out) ? 0 : 1;
    };
    if (extra == "menu") {
        QTimer::singleShot(1500, [&] {
            shoot(90, 0);
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            QTimer::singleShot(100, &app, &QApplication::quit);
        });
        QTimer::singleShot(800, [&] { bar.command(MainBar::ModeButtonId); });
    } else {
        if (extra == "tip") {
            QTimer::singleShot(600, [&] {
                QWidget* combo = bar.currentComboBox();
                QCursor::setPos(combo->mapToGlobal(combo->rect().center()));
            });
        }
        QTimer::singleShot(extra == "tip" ? 2500 : 1200, [&] {
            shoot(extra == "tip" ? 40 : 0, extra == "tip" ? 200 : 0);
            app.quit();
        });
    }
    app.exec();
    return result;
}
