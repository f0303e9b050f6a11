#pragma once
// The language of the window: the system's, or the one chosen under View > Language and kept
// in the profile. Only what a person reads in the window is translated; files, meters,
// databases and numbers keep one form whatever the language.
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace mrv {

class SettingsStore;

// What the profile holds: follow the system, or a language of our own.
enum class LanguageChoice { System, Chinese, English };

LanguageChoice StoredLanguage(SettingsStore& store);
void StoreLanguage(SettingsStore& store, LanguageChoice choice);

// The translation to load: "zh_CN", "en", or empty for the texts as written. The system's
// choice follows the first of `uiLanguages` (QLocale::system().uiLanguages()) that is
// Chinese or English.
QString TranslationFor(LanguageChoice choice, const QStringList& uiLanguages);

// Installs the program's translation and Qt's own (file chooser, print dialogs, message box
// buttons) for `language` as returned by TranslationFor. Returns false when the program's
// translation is missing; the texts as written stay then.
bool InstallTranslation(QCoreApplication& app, const QString& language);

} // namespace mrv
