#pragma once
// What a gamepad asks of the arm's jog while the window "Kinematik" takes the
// pad, worked out one reading at a time: the left stick moves the tip forward
// and back, left and right (or out and in and around the base axis), the right
// stick up and down raises and lowers it, the right and left shoulder buttons
// tilt the hand up and down, the d-pad up and down opens and closes the gripper.
// Each is a share -1..1 of the path speed, in proportion to the deflection; the
// buttons count as full deflection. Arming, the dead-man rule, the dead zone and
// B are those of driving (PadDrive), under the same settings.
#include "drive/pad_drive.h"

namespace drive {

struct PadJogIntent {
    // A stop to make now, and why.
    PadIntent::Stop stop = PadIntent::Stop::None;
    // The pad holds the jog: the shares below apply (all 0: the jog rests).
    bool jogging = false;
    double forward = 0; // left stick up
    double left = 0;    // left stick left
    double up = 0;      // right stick up
    double pitch = 0;   // right shoulder up, left shoulder down
    double gripper = 0; // d-pad up opens, down closes
};

class PadJog {
public:
    void setSettings(const PadSettings &settings) { arming.setSettings(settings); }
    bool armed() const { return arming.armed(); }

    PadJogIntent next(const platform::PadState &pad);
    // A trigger held now must be let go and pressed again before the pad jogs.
    void disarm() { arming.disarm(); }

private:
    // -1..1 in proportion to the axis value; 0 within the dead zone.
    double share(int axis) const;

    PadDrive arming;
};

} // namespace drive
