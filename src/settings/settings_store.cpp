#include "settings/settings_store.h"

#include "toolkit/message_sink.h"

namespace settings {

namespace {
namespace msg = toolkit::msg;
const platform::UiText kFrageSpeichern =
    UI_TEXT("settings::SettingsStore", "Wollen Sie die Einstellungen speichern?");
const platform::UiText kGesichert = UI_TEXT("settings::SettingsStore", "Einstellungen wurden erfolgreich gesichert!");
const platform::UiText kFehlerSichern = UI_TEXT("settings::SettingsStore", "Fehler beim sichern der Einstellungen");
const platform::UiText kFehlerLesen = UI_TEXT("settings::SettingsStore", "Fehler beim lesen der Einstellungen");
} // namespace

SettingsStore::SettingsStore(std::string path, Gather gather, Apply apply)
    : path(std::move(path)), gather(std::move(gather)), apply(std::move(apply))
{
}

void SettingsStore::load() const
{
    const std::optional<SettingsRead> read = readSettingsFile(path);
    if (read)
        apply(*read);
    if (!read || !read->complete)
        msg::show(msg::Kind::Warning, msg::Buttons::Ok, kFehlerLesen);
}

// Success only when every byte reached the disk; a failed save keeps the old file.
void SettingsStore::save() const
{
    if (writeSettingsFile(path, gather()))
        msg::show(msg::Kind::Warning, msg::Buttons::Ok, kFehlerSichern);
    else
        msg::show(msg::Kind::Information, msg::Buttons::Ok, kGesichert);
}

void SettingsStore::offerToSave() const
{
    if (msg::show(msg::Kind::Confirmation, msg::Buttons::YesNo, kFrageSpeichern) == msg::Answer::Yes)
        save();
}

} // namespace settings
