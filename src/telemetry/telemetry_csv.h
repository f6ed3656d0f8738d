#pragma once
// The lines of a telemetry record: a header, then one row per reading with its
// local arrival time and the value in its own column. ";" and the decimal comma
// let a German spreadsheet open the file as numbers.
#include "telemetry/telemetry_quantity.h"

#include <string>
#include <string_view>

namespace telemetry {

struct LocalTime {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
    int millisecond;
};

constexpr std::string_view kCsvLineEnd = "\r\n";

std::string csvHeader();
// e.g. "2024-05-03T14:32:05.123;7,5;;" for a battery reading; without the line end.
std::string csvRow(const LocalTime &time, Quantity quantity, double value);

} // namespace telemetry
