#include "drive/fahrwerk.h"

namespace drive {

namespace {

constexpr const char *kStopText = "K0Q0";
constexpr std::int32_t kStepsPerRotation = 12;

// Integer division truncates toward zero, as the split requires; the wide
// intermediate keeps any int argument free of overflow.
std::int32_t slowed(int speed, std::int64_t percent)
{
    return static_cast<std::int32_t>(static_cast<std::int64_t>(speed) * percent / 100);
}

} // namespace

Fahrwerk::Fahrwerk()
    : aktiv(false),
      speedLinks(0),
      speedRechts(0),
      lenkung(0),
      fahrt(false),
      hupe(false),
      warnblink(false),
      temperaturAbfrage(false),
      abstandAbfrage(false),
      batterieAbfrage(false),
      takt(0)
{
}

void Fahrwerk::setAktiv(bool on)
{
    aktiv = on;
    setAbstandAbfrage(on);
    setBatterieAbfrage(on);
    setTemperaturAbfrage(on);
}

void Fahrwerk::setRichtung(char richtung)
{
    switch (richtung) {
    case 'v':
        fahrt = true;
        richtungLinks = "K";
        richtungRechts = "Q";
        break;
    case 'r':
        fahrt = true;
        richtungLinks = "L";
        richtungRechts = "R";
        break;
    case 'L':
        fahrt = true;
        richtungLinks = "L";
        richtungRechts = "Q";
        break;
    case 'R':
        fahrt = true;
        richtungLinks = "K";
        richtungRechts = "R";
        break;
    case 's':
        fahrt = false;
        richtungLinks.clear();
        richtungRechts.clear();
        break;
    default:
        break;
    }
}

void Fahrwerk::setAbstandAbfrage(bool on) { abstandAbfrage = on; }

void Fahrwerk::setBatterieAbfrage(bool on) { batterieAbfrage = on; }

void Fahrwerk::setHupe(bool on) { hupe = on; }

void Fahrwerk::setTemperaturAbfrage(bool on) { temperaturAbfrage = on; }

void Fahrwerk::setWarnblink(bool on) { warnblink = on; }

void Fahrwerk::setSpeed(int speed, int pLenkung)
{
    lenkung = pLenkung;
    if (pLenkung <= 0) {
        speedRechts = speed;
        speedLinks = slowed(speed, 100 + static_cast<std::int64_t>(pLenkung));
    } else {
        speedLinks = speed;
        speedRechts = slowed(speed, 100 - static_cast<std::int64_t>(pLenkung));
    }
}

std::string Fahrwerk::trackCommand(const std::string &richtung, std::int32_t speed) const
{
    return fahrt ? richtung + std::to_string(speed) : std::string(kStopText);
}

std::string Fahrwerk::getCommand()
{
    command.clear();
    if (!aktiv)
        return command;
    ++takt;
    switch (takt) {
    case 1:
    case 7:
        command = trackCommand(richtungLinks, speedLinks);
        break;
    case 2:
    case 8:
        command = warnblink ? "W1" : "W0";
        break;
    case 3:
    case 9:
        command = hupe ? "H1" : "H0";
        break;
    case 4:
    case 10:
        command = trackCommand(richtungRechts, speedRechts);
        break;
    case 5:
    case 11:
        if (abstandAbfrage)
            command = "A1";
        break;
    case 6:
        if (batterieAbfrage)
            command = "B1";
        break;
    case kStepsPerRotation:
        takt = 0;
        if (temperaturAbfrage)
            command = "T1";
        break;
    default:
        break;
    }
    return command;
}

} // namespace drive
