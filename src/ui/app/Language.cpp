#include "ui/app/Language.h"

#include "base/SettingsStore.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace mrv {

namespace {

constexpr const char* kSection = "view";
constexpr const char* kKey = "language";

} // namespace

LanguageChoice StoredLanguage(SettingsStore& store)
{
    const std::string value = store.GetString(kSection, kKey, "system");
    if (value == "zh_CN")
        return LanguageChoice::Chinese;
    if (value == "en")
        return LanguageChoice::English;
    return LanguageChoice::System;
}

void StoreLanguage(SettingsStore& store, LanguageChoice choice)
{
    switch (choice) {
    case LanguageChoice::Chinese:
        store.PutString(kSection, kKey, "zh_CN");
        break;
    case LanguageChoice::English:
        store.PutString(kSection, kKey, "en");
        break;
    case LanguageChoice::System:
        store.PutString(kSection, kKey, "system");
        break;
    }
}

QString TranslationFor(LanguageChoice choice, const QStringList& uiLanguages)
{
    if (choice == LanguageChoice::Chinese)
        return "zh_CN";
    if (choice == LanguageChoice::English)
        return "en";
    // Simplified and traditional Chinese alike read the simplified translation better
    // than English; "C" and "POSIX" are no language and keep the texts as written.
    for (const QString& name : uiLanguages) {
        const QString lang = name.section('-', 0, 0).section('_', 0, 0).toLower();
        if (lang == "zh")
            return "zh_CN";
        if (lang == "en")
            return "en";
        if (!lang.isEmpty() && lang != "c" && lang != "posix")
            return {};
    }
    return {};
}

bool InstallTranslation(QCoreApplication& app, const QString& language)
{
    if (language.isEmpty())
        return true;
    auto* own = new QTranslator(&app);
    if (!own->load(":/i18n/mrv003e_" + language + ".qm")) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    // Qt's own texts, where the system has them (Debian's qt6-translations-l10n).
    auto* qt = new QTranslator(&app);
    if (qt->load("qtbase_" + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return true;
}

} // namespace mrv
