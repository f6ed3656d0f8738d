#pragma once
// The language the console speaks: German (its source texts) unless the operator
// chose English, whatever the system's locale. The choice is kept in
// RFS/velmora.ini and holds from the next start; --lang overrides it for one run.
#include <QStringList>
#include <optional>

namespace settings {
class ExtensionSettings;
struct ProgramLocation;
} // namespace settings

namespace app {

enum class Language { German, English };

// "de" or "en".
std::optional<Language> languageCalled(const QString &code);

Language storedLanguage(const settings::ExtensionSettings &stored);
void storeLanguage(settings::ExtensionSettings &stored, Language language);

// --lang de|en (or --lang=de|en) among the program's arguments, else the stored
// choice. An unknown code is said on standard error, and German is used.
Language languageToRun(const QStringList &arguments, const settings::ProgramLocation &files);

// Before the first window: English loads the console's translation (a resource
// of the program); German loads Qt's own German texts for its dialogs and
// buttons where the system has them.
void useLanguage(Language language);

} // namespace app
