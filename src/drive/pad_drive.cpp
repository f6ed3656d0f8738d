#include "drive/pad_drive.h"

#include "drive/fahrwerk.h"

#include <algorithm>
#include <cstdlib>

namespace drive {

namespace {
constexpr int kFullSteering = 100;
// Half of the trigger's 32768 steps.
constexpr int kTriggerHalfWay = (platform::kPadAxisMax + 1) / 2;
} // namespace

void PadDrive::setSettings(const PadSettings &chosen)
{
    if (chosen.deadMan != current.deadMan)
        disarm();
    current = chosen;
    current.deadZonePercent = std::clamp(chosen.deadZonePercent, PadSettings::kDeadZoneMin, PadSettings::kDeadZoneMax);
}

void PadDrive::disarm()
{
    isArmed = false;
    triggerWasHeld = true;
}

int PadDrive::deflection(int axis, int outOf) const
{
    const int value = std::clamp(axis, -platform::kPadAxisMax, platform::kPadAxisMax);
    if (std::abs(value) * 100 <= current.deadZonePercent * platform::kPadAxisMax)
        return 0;
    const long scaled = static_cast<long>(value) * outOf;
    // Rounded to the nearest, halves away from zero.
    return static_cast<int>((scaled + (scaled < 0 ? -1 : 1) * platform::kPadAxisMax / 2) / platform::kPadAxisMax);
}

PadIntent PadDrive::next(const platform::PadState &pad)
{
    const bool wasArmed = isArmed;
    const bool triggerHeld = pad.rightTrigger > kTriggerHalfWay;
    const int forward = -deflection(pad.leftY, kFullSpeed);
    const int steering = deflection(pad.leftX, kFullSteering);
    if (pad.b)
        isArmed = false;
    else if (current.deadMan)
        isArmed = triggerHeld && (isArmed || !triggerWasHeld);
    else if (forward == 0 && steering == 0)
        isArmed = true;

    PadIntent intent;
    if (pad.b && !stopWasHeld)
        intent.stop = PadIntent::Stop::Button;
    else if (wasArmed && !isArmed && !pad.b)
        intent.stop = PadIntent::Stop::DeadMan;
    triggerWasHeld = triggerHeld;
    stopWasHeld = pad.b;

    intent.horn = pad.a;
    intent.driving = isArmed;
    if (isArmed) {
        intent.richtung = forward > 0 ? 'v' : forward < 0 ? 'r' : 's';
        intent.speed = std::abs(forward);
        if (pad.leftShoulder != pad.rightShoulder)
            intent.steering = pad.leftShoulder ? -kSharpTurnSteering : kSharpTurnSteering;
        else
            intent.steering = steering;
    }
    return intent;
}

} // namespace drive
