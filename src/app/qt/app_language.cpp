#include "app/qt/app_language.h"

#include <QCoreApplication>
#include <QTranslator>

#include <cstdio>
#include <memory>

#include "app/core/profile_store.h"

std::string chosenLanguage(const std::string& option, const ProfileStore& store) {
    if (!option.empty())
        return option;
    return store.getString(kLanguageSection, kLanguageKey, "");
}

bool installLanguage(const std::string& language) {
    // One catalogue at a time, alive as long as the application may ask it.
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    if (language.empty() || language == "ja")
        return true;
    auto translator = std::make_unique<QTranslator>();
    const QString file = QStringLiteral(":/i18n/vorn_%1.qm").arg(QString::fromStdString(language));
    if (!translator->load(file)) {
        std::fprintf(stderr, "vorn: no translation into \"%s\"; the texts stay Japanese\n",
                     language.c_str());
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}
