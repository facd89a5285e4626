#include "app/qt/toolkit_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {
// As QGuiApplication, QApplication and the X11 platform read them.
constexpr const char* kWithValue[] = {
    "platform",        "platformpluginpath",
    "platformtheme",   "plugin",
    "qwindowgeometry", "geometry",
    "qwindowtitle",    "title",
    "qwindowicon",     "icon",
    "display",         "name",
    "session",         "style",
    "stylesheet",      "qmljsdebugger",
};
constexpr const char* kWithoutValue[] = {"reverse", "widgetcount", "nograb",
                                         "dograb",  "sync",        "testability"};
}  // namespace

void addToolkitOptions(QCommandLineParser& parser) {
    for (const char* name : kWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("VALUE"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kWithoutValue) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}
