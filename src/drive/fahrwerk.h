#pragma once
// The chassis command model: what the operator wants from the tracked chassis
// (direction, track speeds, steering, horn, hazard lights, telemetry requests),
// turned into one command text per call of getCommand, in a fixed rotation of
// twelve steps. The chassis timer sends each text on link 2.
#include <cstdint>
#include <string>

namespace drive {

// Full speed, as the drive command and the speed bar count it.
constexpr int kFullSpeed = 255;

// The steering of a sharp turn, beyond the steering bar's +-100: the inner track
// runs backwards.
constexpr int kSharpTurnSteering = 255;

class Fahrwerk {
public:
    Fahrwerk();
    Fahrwerk(const Fahrwerk &) = delete;
    Fahrwerk &operator=(const Fahrwerk &) = delete;

    // Switching on also switches on all three telemetry requests, switching off
    // switches them off; everything else survives.
    void setAktiv(bool on);
    bool getAktiv() const { return aktiv; }
    // 'v' forward, 'r' backward, 'L' / 'R' turn on the spot, 's' stop; any other
    // letter (case matters) changes nothing.
    void setRichtung(char richtung);
    void setAbstandAbfrage(bool on);
    void setBatterieAbfrage(bool on);
    void setHupe(bool on);
    void setTemperaturAbfrage(bool on);
    void setWarnblink(bool on);
    // Steering in percent slows the inner track only; beyond +-100 the inner track
    // runs backwards (the sharp turns use +-kSharpTurnSteering).
    void setSpeed(int speed, int lenkung);
    // Advances the rotation by one step and returns its text ("" while inactive,
    // without advancing).
    std::string getCommand();

private:
    std::string trackCommand(const std::string &richtung, std::int32_t speed) const;

    bool aktiv;
    std::int32_t speedLinks;
    std::int32_t speedRechts;
    std::int32_t lenkung;
    std::string command;
    std::string richtungLinks;
    std::string richtungRechts;
    bool fahrt;
    bool hupe;
    bool warnblink;
    bool temperaturAbfrage;
    bool abstandAbfrage;
    bool batterieAbfrage;
    std::int32_t takt;
};

} // namespace drive
