// vorn: a music player that plays folders, files and song lists.
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/core/command_line_help.h"
#include "app/core/ini_location.h"
#include "app/gst/gst_init.h"
#include "app/qt/player_app.h"
#include "app/qt/toolkit_options.h"
#include "vorn_version.h"

namespace {

// Paths are bytes, not text: a name that is not valid UTF-8 must reach the file system as
// it came. Each byte becomes one Latin-1 character for the parser (option names are
// ASCII) and toLatin1() gives the bytes back unchanged.
QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]);
    return arguments;
}

std::string bytesOf(const QString& argument) {
    const QByteArray bytes = argument.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Where this program keeps its settings with the given --ini value, for the help text.
std::string iniPathFor(std::optional<std::string> iniOption) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return chooseIniPath(
        iniLocationFromEnvironment(std::move(iniOption), programDirectoryOf(self.string())));
}

}  // namespace

int main(int argc, char** argv) {
    // GStreamer takes its own options out of argv first; the command line is read before
    // any window system is touched, so --help and --version work without a display.
    initialiseGstFromCommandLine(argc, argv);
    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform, -style); ours are long options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("vorn, a music player"));
    const QCommandLineOption iniOption(QStringLiteral("ini"),
                                       QStringLiteral("Keep the settings in FILE."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and end."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption(QStringLiteral("version"),
                                           QStringLiteral("Show the version and end."));
    const QCommandLineOption languageOption(
        QStringLiteral("language"),
        QStringLiteral("Show the windows in LANG (en: English; the default is Japanese). The "
                       "ini key [App] Language=LANG does the same for every start."),
        QStringLiteral("LANG"));
    const QCommandLineOption newInstanceOption(
        QStringLiteral("new-instance"),
        QStringLiteral("Start another player even when one runs (else the paths go to it)."));
    parser.addOption(iniOption);
    parser.addOption(languageOption);
    parser.addOption(newInstanceOption);
    parser.addOption(versionOption);
    addToolkitOptions(parser);
    parser.addPositionalArgument(QStringLiteral("PATH"),
                                 QStringLiteral("Folders, media files or song lists to play."),
                                 QStringLiteral("[PATH...]"));

    if (!parser.parse(argumentsOf(argc, argv))) {
        std::fprintf(stderr, "vorn: %s\n", bytesOf(parser.errorText()).c_str());
        return 2;
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(QStringLiteral("<executable_name>"), QStringLiteral("vorn"));
        std::fputs(qPrintable(help), stdout);
        std::optional<std::string> ini;
        if (parser.isSet(iniOption))
            ini = bytesOf(parser.value(iniOption));
        std::fputs(commandLineHelpEpilogue(iniPathFor(ini)).c_str(), stdout);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::puts("vorn " VORN_FULL_VERSION);
        return 0;
    }

    StartOptions options;
    if (parser.isSet(iniOption))
        options.iniFile = bytesOf(parser.value(iniOption));
    if (parser.isSet(languageOption))
        options.language = bytesOf(parser.value(languageOption));
    options.newInstance = parser.isSet(newInstanceOption);
    for (const QString& path : parser.positionalArguments())
        options.paths.push_back(bytesOf(path));
    // Before any window exists, so the desktop finds the launcher of the windows: Wayland
    // takes the desktop entry's name as the app id; X11 has the windows' WM_CLASS, whose
    // class is the application name ("vorn" whatever the file is called), which the
    // entry's StartupWMClass names.
    QGuiApplication::setDesktopFileName(QStringLiteral(VORN_APP_ID));
    QGuiApplication::setApplicationName(QStringLiteral("vorn"));
    PlayerApp app(argc, argv, std::move(options));
    return app.run();
}
