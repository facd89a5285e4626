// Shows the settings sheet and saves a picture of each page, to check the layout with
// the Japanese dialog font on a real display:
//   settings_sheet_shot OUTDIR [--no-effects]
// writes OUTDIR/settings-other.png and OUTDIR/settings-play.png (with --no-effects the
// play page as on a machine without audio effects, OUTDIR/settings-play-noeffects.png).
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "app/core/app_settings.h"
#include "effects/qt/settings_sheet.h"

namespace {

bool save(QWidget& window, const QString& path) {
    QTest::qWait(300);  // let the window manager map and paint it
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QDir out(args.size() > 1 ? args[1] : QStringLiteral("."));
    const bool noEffects = args.contains(QStringLiteral("--no-effects"));

    AppSettings settings;
    settings.play.PlayTime = 30;
    settings.play.isRepeat = true;
    settings.play.repeatCnt = 2;
    settings.play.useEffect = true;
    settings.other.flist = "/home/user/Music/lists";
    settings.other.filter = "/home/user/graphs.fil";

    EffectAccess effects = EffectAccess::system();
    if (noEffects)
        effects.checkSupport = [] { return -1; };
    SettingsSheet sheet(settings, noEffects ? 1 : 0, nullptr, PathChoosers::system(), effects);
    sheet.show();
    bool ok = true;
    if (noEffects)
        return save(sheet, out.filePath("settings-play-noeffects.png")) ? 0 : 1;
    ok &= save(sheet, out.filePath("settings-other.png"));
    sheet.tabs()->setCurrentIndex(SettingsSheet::kPlayOptionsPage);
    ok &= save(sheet, out.filePath("settings-play.png"));
    return ok ? 0 : 1;
}
