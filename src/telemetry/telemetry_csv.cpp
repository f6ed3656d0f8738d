#include "telemetry/telemetry_csv.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace telemetry {

namespace {

constexpr char kSeparator = ';';

// to_chars, unlike printf, ignores the process locale, which Qt sets from the
// environment.
std::string decimalComma(double value, int decimals)
{
    char text[64];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string formatted(text, error == std::errc() ? end : text);
    std::replace(formatted.begin(), formatted.end(), '.', ',');
    return formatted;
}

std::string isoTime(const LocalTime &time)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second, time.millisecond);
    return text;
}

} // namespace

// A file's header: German in every language, as the rows' decimal comma is.
std::string csvHeader()
{
    std::string header = "Zeit";
    for (Quantity quantity : kQuantities)
        (header += kSeparator) += textOf(quantity).title.source();
    return header;
}

std::string csvRow(const LocalTime &time, Quantity quantity, double value)
{
    std::string row = isoTime(time);
    for (Quantity column : kQuantities) {
        row += kSeparator;
        if (column == quantity)
            row += decimalComma(value, textOf(quantity).decimals);
    }
    return row;
}

} // namespace telemetry
