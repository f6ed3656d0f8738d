#include "settings/extension_settings.h"

#include "settings/program_location.h"

namespace settings {

ExtensionSettings::ExtensionSettings(const ProgramLocation &files)
    : file(files.extensionSettingsFile(), QSettings::IniFormat),
      readable(file.status() == QSettings::NoError)
{
}

double ExtensionSettings::number(const QString &key, double fallback, double min, double max) const
{
    bool isNumber = false;
    const double value = text(key).toDouble(&isNumber);
    return isNumber && value >= min && value <= max ? value : fallback;
}

void ExtensionSettings::setNumber(const QString &key, double value) { store(key, value); }

bool ExtensionSettings::flag(const QString &key, bool fallback) const
{
    const QString value = text(key);
    if (value == QLatin1String("true"))
        return true;
    if (value == QLatin1String("false"))
        return false;
    return fallback;
}

void ExtensionSettings::setFlag(const QString &key, bool value) { store(key, value); }

void ExtensionSettings::setText(const QString &key, const QString &value) { store(key, value); }

QString ExtensionSettings::text(const QString &key) const
{
    return readable ? file.value(key).toString().trimmed() : QString();
}

// Written at once, so that a crash later in the run keeps the choice; a value the
// file holds already is not written again. A broken file, all of whose values read
// as defaults, is replaced by a sound one that holds just this value.
void ExtensionSettings::store(const QString &key, const QVariant &value)
{
    if (readable && file.contains(key) && file.value(key) == value)
        return;
    if (!readable)
        file.clear();
    file.setValue(key, value);
    file.sync();
    readable = file.status() != QSettings::AccessError;
}

} // namespace settings
