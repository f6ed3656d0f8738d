#include "app/language.h"

#include "settings/extension_settings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

namespace app {

namespace {

const QString kLanguageKey = QStringLiteral("console/language");

QString codeOf(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("de");
}

// Lives as long as the application; a file that is not there leaves the texts as they are.
void install(const QString &file, const QString &directory)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file, directory))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

std::optional<Language> languageCalled(const QString &code)
{
    if (code == QLatin1String("de"))
        return Language::German;
    if (code == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

Language storedLanguage(const settings::ExtensionSettings &stored)
{
    return languageCalled(stored.text(kLanguageKey)).value_or(Language::German);
}

void storeLanguage(settings::ExtensionSettings &stored, Language language)
{
    stored.setText(kLanguageKey, codeOf(language));
}

Language languageToRun(const QStringList &arguments, const settings::ProgramLocation &files)
{
    const QString option = QStringLiteral("--lang");
    std::optional<QString> asked;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == option)
            asked = i + 1 < arguments.size() ? arguments[i + 1] : QString();
        else if (arguments[i].startsWith(option + QLatin1Char('=')))
            asked = arguments[i].mid(option.size() + 1);
    }
    if (!asked)
        return storedLanguage(settings::ExtensionSettings(files));
    if (const std::optional<Language> language = languageCalled(*asked))
        return *language;
    std::fprintf(stderr, "velmora: --lang takes de or en, not \"%s\": the console starts in German\n",
                 qUtf8Printable(*asked));
    return Language::German;
}

void useLanguage(Language language)
{
    if (language == Language::English)
        install(QStringLiteral("velmora_en"), QStringLiteral(":/i18n"));
    else
        install(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace app
