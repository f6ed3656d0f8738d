#pragma once
// What a gamepad asks of the drive controls, worked out one reading at a time.
// The left stick drives (up forward, down backward, speed in proportion to the
// deflection) and steers; a shoulder button held turns sharply; A sounds the
// horn; B stops as the red stop button does. Deflections within the dead zone
// count as none.
//
// The pad holds the drive only while it is armed. With the dead-man rule the
// right trigger arms it when it is pressed past half way, and letting it go
// stops; without the rule the stick arms it by resting in its centre. B, and
// disarm() (the pad stops acting), stop arming until the trigger is pressed
// again, or the stick rests again.
#include "platform/pad_state.h"

namespace drive {

struct PadSettings {
    static constexpr int kDeadZoneMin = 5;
    static constexpr int kDeadZoneMax = 50;
    int deadZonePercent = 15;
    bool deadMan = true;
};

struct PadIntent {
    enum class Stop { None, Button, DeadMan };
    // A stop to make now, as the red stop button makes it, and why.
    Stop stop = Stop::None;
    // The pad holds the drive: the direction, speed and steering below apply.
    bool driving = false;
    char richtung = 's'; // 'v', 'r' or 's'
    int speed = 0;       // 0..255
    int steering = 0;    // -100..100, or +-kSharpTurnSteering while a shoulder is held
    bool horn = false;
};

class PadDrive {
public:
    // A changed dead-man rule disarms: it must be taken up afresh.
    void setSettings(const PadSettings &chosen);
    const PadSettings &settings() const { return current; }
    bool armed() const { return isArmed; }

    PadIntent next(const platform::PadState &pad);
    // A trigger held now must be let go and pressed again before the pad drives.
    void disarm();

private:
    // -outOf..outOf in proportion to the axis value; 0 within the dead zone.
    int deflection(int axis, int outOf) const;

    PadSettings current;
    bool isArmed = false;
    bool triggerWasHeld = true;
    bool stopWasHeld = false;
};

} // namespace drive
