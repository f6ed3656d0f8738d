#pragma once
// The three readings of the chassis board as the telemetry window, its record
// and its alarms know them, in the order of the record's columns.
#include "platform/uitext.h"

#include <array>
#include <string_view>

namespace telemetry {

enum class Quantity { Battery, Temperature, Distance };

constexpr std::array<Quantity, 3> kQuantities{Quantity::Battery, Quantity::Temperature, Quantity::Distance};

constexpr std::size_t indexOf(Quantity quantity) { return static_cast<std::size_t>(quantity); }

// The record's column titles are the titles' German sources, in every language.
struct QuantityText {
    platform::UiText name;
    platform::UiText title; // plot and column title
    std::string_view unit;
    int decimals; // as the read-out shows it
};

inline QuantityText textOf(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Battery:
        return {UI_TEXT("telemetry::Quantity", "Batterie"), UI_TEXT("telemetry::Quantity", "Batterie (V)"), "V",
                1};
    case Quantity::Temperature:
        return {UI_TEXT("telemetry::Quantity", "Temperatur"), UI_TEXT("telemetry::Quantity", "Temperatur (°C)"),
                "°C", 0};
    case Quantity::Distance:
        return {UI_TEXT("telemetry::Quantity", "Abstand"), UI_TEXT("telemetry::Quantity", "Abstand (cm)"), "cm",
                0};
    }
    return {};
}

} // namespace telemetry
