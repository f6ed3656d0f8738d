#include "app/language_menu.h"

#include "toolkit/message_sink.h"

#include <QAction>
#include <QActionGroup>

namespace app {

namespace msg = toolkit::msg;

LanguageMenu::LanguageMenu(QAction &german, QAction &english, const settings::ProgramLocation &files,
                           QObject *parent)
    : QObject(parent), stored(files), chosen(storedLanguage(stored))
{
    auto *items = new QActionGroup(this);
    items->setExclusive(true);
    for (QAction *item : {&german, &english}) {
        item->setCheckable(true);
        items->addAction(item);
    }
    (chosen == Language::English ? english : german).setChecked(true);
    connect(&german, &QAction::triggered, this, [this] { choose(Language::German); });
    connect(&english, &QAction::triggered, this, [this] { choose(Language::English); });
}

void LanguageMenu::choose(Language language)
{
    if (language == chosen)
        return;
    chosen = language;
    storeLanguage(stored, language);
    msg::show(msg::Kind::Information, msg::Buttons::Ok,
              UI_TEXT("app::LanguageMenu", "Die gewählte Sprache gilt ab dem nächsten Start des Programms."));
}

} // namespace app
