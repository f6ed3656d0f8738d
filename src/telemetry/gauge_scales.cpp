#include "telemetry/gauge_scales.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

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

// Reads "7.5" or "7,5" as the battery read-out shows it; the separator must be
// the one the read-out was written with, so a "." under a "," locale is refused.
std::optional<float> decimalNumber(std::string_view text, std::string_view separator)
{
    if (separator.empty())
        return std::nullopt;
    std::string plain;
    for (std::size_t pos = 0; pos < text.size();) {
        if (text.substr(pos, separator.size()) == separator) {
            plain.push_back('.');
            pos += separator.size();
        } else if (text[pos] == '.') {
            return std::nullopt;
        } else {
            plain.push_back(text[pos++]);
        }
    }
    float value = 0;
    const char *end = plain.data() + plain.size();
    auto [stop, error] = std::from_chars(plain.data(), end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int32_t> wholeNumber(std::string_view text)
{
    std::int32_t value = 0;
    const char *end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

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

GaugeLook distanceLook(std::string_view text, const GaugeLook &previous)
{
    const std::optional<std::int32_t> centimetres = wholeNumber(text);
    return centimetres ? distanceLook(*centimetres, previous) : previous;
}

GaugeLook batteryLook(std::string_view text, std::string_view decimalSeparator,
                      const GaugeLook &previous)
{
    const std::optional<float> volts = decimalNumber(text, decimalSeparator);
    return volts ? batteryLook(*volts, previous) : previous;
}

GaugeLook temperatureLook(std::string_view text, const GaugeLook &previous)
{
    const std::optional<std::int32_t> degrees = wholeNumber(text);
    return degrees ? temperatureLook(*degrees, previous) : previous;
}

} // namespace telemetry
