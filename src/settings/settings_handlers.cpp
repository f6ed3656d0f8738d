#include "app/message_sink.h"
#include "app/tform1.h"
#include "arm/servo.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace {

constexpr const char *kFrageSpeichern = "Wollen Sie die Einstellungen speichern?";
constexpr const char *kGesichert = "Einstellungen wurden erfolgreich gesichert!";
constexpr const char *kFehlerSichern = "Fehler beim sichern der Einstellungen";
constexpr const char *kFehlerLesen = "Fehler beim lesen der Einstellungen";

// Field texts are 8-bit texts in the file.
std::string fieldText(const QLineEdit *field) { return field->text().toLatin1().toStdString(); }

void setFieldText(QLineEdit *field, const std::optional<std::string> &word)
{
    if (word)
        field->setText(QString::fromLatin1(word->data(), static_cast<qsizetype>(word->size())));
}

std::string fileSystemPath(const QString &path) { return QFile::encodeName(path).toStdString(); }

} // namespace

QString TForm1::settingsFilePath() const
{
    return QDir::toNativeSeparators(programDir() + QStringLiteral("RFS/STARTW2.stw"));
}

void TForm1::SaveSettings()
{
    settings::Settings values;
    for (std::size_t i = 0; i < settings::kJoints; ++i) {
        Servo &servo = *joints[i].servo;
        values.joints[i] = {servo.getKanal(), servo.getLimitMin(), servo.getLimitMax()};
    }
    for (std::size_t i = 0; i < settings::kLinks; ++i)
        values.links[i] = {fieldText(links[i].ip), fieldText(links[i].port)};
    const auto octets = webCamOctetFields();
    for (std::size_t i = 0; i < settings::kWebCamParts; ++i)
        values.webCam[i] = fieldText(octets[i]);

    // Success only when every byte reached the disk; a failed save keeps the old file.
    if (settings::writeSettingsFile(fileSystemPath(settingsFilePath()), values))
        msg::show(msg::Kind::Warning, msg::Buttons::Ok, kFehlerSichern);
    else
        msg::show(msg::Kind::Information, msg::Buttons::Ok, kGesichert);
}

// Applies what the file holds up to its first missing or bad value and nothing
// after it; the joints and fields beyond keep what they had.
void TForm1::LoadSettings()
{
    const std::optional<settings::SettingsRead> read = settings::readSettingsFile(fileSystemPath(settingsFilePath()));
    if (!read) {
        msg::show(msg::Kind::Warning, msg::Buttons::Ok, kFehlerLesen);
        return;
    }
    for (std::size_t i = 0; i < settings::kJoints; ++i) {
        const settings::JointRead &joint = read->joints[i];
        Servo &servo = *joints[i].servo;
        if (joint.kanal)
            servo.setKanal(*joint.kanal);
        if (joint.limitMin && joint.limitMax)
            servo.setLimit(*joint.limitMin, *joint.limitMax);
    }
    for (std::size_t i = 0; i < settings::kLinks; ++i) {
        setFieldText(links[i].ip, read->links[i].ip);
        setFieldText(links[i].port, read->links[i].port);
    }
    // Setting an octet field runs its check.
    const auto octets = webCamOctetFields();
    for (std::size_t i = 0; i < settings::kWebCamParts; ++i)
        setFieldText(octets[i], read->webCam[i]);
    if (!read->complete)
        msg::show(msg::Kind::Warning, msg::Buttons::Ok, kFehlerLesen);
}

void TForm1::offerToSaveSettings()
{
    if (msg::show(msg::Kind::Confirmation, msg::Buttons::YesNo, kFrageSpeichern) == msg::Answer::Yes)
        SaveSettings();
}

void TForm1::Einstellungenspeichern1Click() { offerToSaveSettings(); }

// LoadSettings leaves the joint panel alone; the refresh shows what it set.
void TForm1::letzteEinstellungenladen1Click()
{
    LoadSettings();
    ShowServoSettings();
}
