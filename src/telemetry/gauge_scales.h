#pragma once
// How the three telemetry gauges look for a reading: progress, fill colour and
// background colour. Each function starts from the gauge's current look, because
// some readings leave a colour as the previous one left it.
#include <cstdint>

namespace telemetry {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

constexpr bool operator==(Rgb a, Rgb b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
constexpr bool operator!=(Rgb a, Rgb b) { return !(a == b); }

namespace colour {
constexpr Rgb lime{0, 255, 0};
constexpr Rgb green{0, 128, 0};
constexpr Rgb yellow{255, 255, 0};
constexpr Rgb maroon{128, 0, 0};
constexpr Rgb red{255, 0, 0};
constexpr Rgb blue{0, 0, 255};
constexpr Rgb silver{192, 192, 192};
} // namespace colour

struct GaugeLook {
    int progress = 0; // 0..100, as the bar shows it
    Rgb fill;
    Rgb background;
};

constexpr bool operator==(const GaugeLook &a, const GaugeLook &b)
{
    return a.progress == b.progress && a.fill == b.fill && a.background == b.background;
}
constexpr bool operator!=(const GaugeLook &a, const GaugeLook &b) { return !(a == b); }

// The readings each bar spans from empty to full, and where its red zone begins;
// the telemetry plots and alarms use the same figures as the gauges.
struct GaugeRange {
    double empty;
    double full;
};
constexpr GaugeRange kDistanceRange{0, 35};
constexpr GaugeRange kBatteryRange{6.9, 8.1};
constexpr GaugeRange kTemperatureRange{0, 75};
constexpr std::int32_t kDistanceRedBelow = 10;  // centimetres
constexpr float kBatteryRedBelowPercent = 30;   // of the bar
constexpr std::int32_t kTemperatureRedFrom = 55; // degrees Celsius
// The battery's red zone in volts: under 7.26 V.
double batteryRedBelowVolts();

// Distance to the rear in centimetres: 35 cm and more fill the bar.
GaugeLook distanceLook(std::int32_t centimetres, const GaugeLook &previous);
// Battery voltage: 6.9 V is empty, 8.1 V full; the fill colour stays.
GaugeLook batteryLook(float volts, const GaugeLook &previous);
// Heat-sink temperature in degrees Celsius: 75 degrees fill the bar.
GaugeLook temperatureLook(std::int32_t degrees, const GaugeLook &previous);

} // namespace telemetry
