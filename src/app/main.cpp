// vorn: a music player that plays folders, files and song lists.
#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

#include "app/player_app.h"

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    // The command line is read before any window system is touched, so --help and
    // --version work without a display.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("vorn, a music player"));
    const QCommandLineOption iniOption(QStringLiteral("ini"),
                                       QStringLiteral("Keep the settings in FILE."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and end."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption(QStringLiteral("version"),
                                           QStringLiteral("Show the version and end."));
    parser.addOption(iniOption);
    parser.addOption(versionOption);
    parser.addPositionalArgument(QStringLiteral("PATH"),
                                 QStringLiteral("Folders, media files or song lists to play."),
                                 QStringLiteral("[PATH...]"));

    if (!parser.parse(argumentsOf(argc, argv))) {
        std::fprintf(stderr, "vorn: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        help.replace(QStringLiteral("<executable_name>"), QStringLiteral("vorn"));
        std::fputs(qPrintable(help), stdout);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::puts("vorn 1.2");
        return 0;
    }

    StartOptions options;
    if (parser.isSet(iniOption))
        options.iniFile = parser.value(iniOption).toStdString();
    for (const QString& path : parser.positionalArguments()) {
        options.paths.push_back(path.toLocal8Bit().toStdString());
    }
    PlayerApp app(argc, argv, std::move(options));
    return app.run();
}
