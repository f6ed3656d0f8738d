#pragma once
// What the features beyond the original console keep between runs, in
// RFS/velmora.ini beside the settings file (which keeps its own format). Reading
// never fails: a missing or broken file, or a value that is missing, not a
// number or out of its range, gives the caller's default, without a word.
#include <QSettings>
#include <QString>

namespace settings {

struct ProgramLocation;

class ExtensionSettings {
public:
    explicit ExtensionSettings(const ProgramLocation &files);

    // Keys are "group/name", e.g. "telemetry/minutes".
    double number(const QString &key, double fallback, double min, double max) const;
    void setNumber(const QString &key, double value);
    bool flag(const QString &key, bool fallback) const;
    void setFlag(const QString &key, bool value);
    // Trimmed; empty when missing.
    QString text(const QString &key) const;
    void setText(const QString &key, const QString &value);

private:
    void store(const QString &key, const QVariant &value);

    QSettings file;
    bool readable;
};

} // namespace settings
