#pragma once
// "Setup" → "Sprache": the two languages as checkable, exclusive items. Choosing
// one keeps it for the next start and says so in a box, in the language the
// console speaks now.
#include "app/language.h"
#include "settings/extension_settings.h"

#include <QObject>

class QAction;

namespace app {

class LanguageMenu : public QObject {
    Q_OBJECT

public:
    LanguageMenu(QAction &german, QAction &english, const settings::ProgramLocation &files, QObject *parent);

private:
    void choose(Language language);

    settings::ExtensionSettings stored;
    Language chosen;
};

} // namespace app
