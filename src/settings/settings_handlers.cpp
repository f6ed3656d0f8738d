// The settings file on the window: saving, loading, and the two menu items.
#include "app/tform1.h"

#include "app/message_sink.h"
#include "arm/servo.h"
#include "settings/settings_file.h"
#include "toolkit/byte_text.h"

#include <QDir>
#include <QLineEdit>

namespace {

constexpr const char *kFrageSpeichern = "Wollen Sie die Einstellungen speichern?";
constexpr const char *kGesichert = "Einstellungen wurden erfolgreich gesichert!";
constexpr const char *kFehlerSichern = "Fehler beim sichern der Einstellungen";
constexpr const char *kFehlerLesen = "Fehler beim lesen der Einstellungen";

void setFieldText(QLineEdit *field, const std::optional<std::string> &word)
{
    if (word)
        field->setText(toolkit::fromBytes(*word));
}

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
        values.links[i] = {toolkit::toBytes(links[i].ip->text()), toolkit::toBytes(links[i].port->text())};
    const auto octets = webCamOctetFields();
    for (std::size_t i = 0; i < settings::kWebCamParts; ++i)
        values.webCam[i] = toolkit::toBytes(octets[i]->text());

    // Success only when every byte reached the disk; a failed save keeps the old file.
    if (settings::writeSettingsFile(toolkit::filePathBytes(settingsFilePath()), values))
        msg::show(msg::Kind::Warning, msg::Buttons::Ok, kFehlerSichern);
    else
        msg::show(msg::Kind::Information, msg::Buttons::Ok, kGesichert);
}

// Applies what the file holds up to its first missing or bad value and nothing
// after it; the joints and fields beyond keep what they had.
void TForm1::LoadSettings()
{
    const std::optional<settings::SettingsRead> read = settings::readSettingsFile(toolkit::filePathBytes(settingsFilePath()));
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
