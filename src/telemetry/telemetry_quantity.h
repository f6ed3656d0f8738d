#pragma once
// The three readings of the chassis board as the telemetry window, its record
// and its alarms know them, in the order of the record's columns.
#include <array>
#include <string_view>

namespace telemetry {

enum class Quantity { Battery, Temperature, Distance };

constexpr std::array<Quantity, 3> kQuantities{Quantity::Battery, Quantity::Temperature, Quantity::Distance};

constexpr std::size_t indexOf(Quantity quantity) { return static_cast<std::size_t>(quantity); }

struct QuantityText {
    std::string_view name;
    std::string_view title; // plot and column title
    std::string_view unit;
    int decimals;           // as the read-out shows it
};

constexpr QuantityText textOf(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Battery: return {"Batterie", "Batterie (V)", "V", 1};
    case Quantity::Temperature: return {"Temperatur", "Temperatur (°C)", "°C", 0};
    case Quantity::Distance: return {"Abstand", "Abstand (cm)", "cm", 0};
    }
    return {};
}

} // namespace telemetry
