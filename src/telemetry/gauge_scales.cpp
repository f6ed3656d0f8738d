#include "telemetry/gauge_scales.h"

namespace telemetry {

namespace {

// 100/35, 100/75 and 100/(8.1 - 6.9) as the gauges have always used them; the
// battery factor is the double result of that division, not 250/3.
constexpr double kDistanceFactor = 2.857142857142857;
constexpr double kTemperatureFactor = 1.3333333333333333;
constexpr double kBatteryEmptyVolts = kBatteryRange.empty;
constexpr double kBatteryFactor = 83.33333333333339;

// Truncation toward zero, then what the bar can show; doing both here keeps a
// huge reading from overflowing the int.
int progressOf(double percent)
{
    if (!(percent > 0))
        return 0;
    if (percent >= 100)
        return 100;
    return static_cast<int>(percent);
}

} // namespace

double batteryRedBelowVolts() { return kBatteryEmptyVolts + kBatteryRedBelowPercent / kBatteryFactor; }

GaugeLook distanceLook(std::int32_t centimetres, const GaugeLook &previous)
{
    GaugeLook look = previous;
    look.progress = progressOf(centimetres * kDistanceFactor);
    if (centimetres >= 35) {
        look.fill = colour::lime;
    } else if (centimetres >= 30) {
        // between the alarm bands: both colours stay as they were
    } else if (centimetres >= 20) {
        look.fill = colour::green;
        look.background = colour::yellow;
    } else if (centimetres >= kDistanceRedBelow) {
        look.fill = colour::yellow;
        look.background = colour::maroon;
    } else {
        look.fill = colour::yellow;
        look.background = colour::red;
    }
    return look;
}

GaugeLook batteryLook(float volts, const GaugeLook &previous)
{
    const float percent = static_cast<float>((volts - kBatteryEmptyVolts) * kBatteryFactor);
    GaugeLook look = previous;
    look.progress = progressOf(percent);
    if (percent >= 70)
        look.background = colour::lime;
    else if (percent >= kBatteryRedBelowPercent)
        look.background = colour::yellow;
    else
        look.background = colour::red;
    return look;
}

GaugeLook temperatureLook(std::int32_t degrees, const GaugeLook &previous)
{
    GaugeLook look = previous;
    look.progress = progressOf(degrees * kTemperatureFactor);
    look.background = colour::yellow;
    if (degrees >= kTemperatureRedFrom)
        look.fill = colour::red;
    else if (degrees >= 30)
        look.fill = colour::lime;
    else
        look.fill = colour::blue;
    return look;
}

} // namespace telemetry
