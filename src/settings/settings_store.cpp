#include "settings/settings_store.h"

#include "toolkit/message_sink.h"

namespace settings {

namespace {
namespace msg = toolkit::msg;
constexpr const char *kFrageSpeichern = "Wollen Sie die Einstellungen speichern?";
constexpr const char *kGesichert = "Einstellungen wurden erfolgreich gesichert!";
constexpr const char *kFehlerSichern = "Fehler beim sichern der Einstellungen";
constexpr const char *kFehlerLesen = "Fehler beim lesen der Einstellungen";
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
