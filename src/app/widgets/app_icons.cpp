#include "app/widgets/app_icons.h"

#include <QString>

// The resources live in a static library, so they are registered on first use.
static void initialiseIconResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(vorn_icons);
        return true;
    }();
    (void)done;
}

namespace {

constexpr int kAppIconSizes[] = {16, 32, 48, 128};

QString appIconPath(int size) {
    return QStringLiteral(":/icons/app-%1.png").arg(size);
}

}  // namespace

QIcon appIcon() {
    initialiseIconResources();
    QIcon icon;
    for (int size : kAppIconSizes)
        icon.addFile(appIconPath(size), QSize(size, size));
    return icon;
}

QIcon smallAppIcon() {
    initialiseIconResources();
    return QIcon(appIconPath(16));
}

QPixmap appIconPixmap(int size) {
    return appIcon().pixmap(size, size);
}

QPixmap thumbPixmap() {
    initialiseIconResources();
    return QPixmap(QStringLiteral(":/icons/thumb.png"));
}
