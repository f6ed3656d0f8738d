#include "telemetry/telemetry_stream.h"

#include "toolkit/message_sink.h"

#include <charconv>

namespace telemetry {

namespace {

namespace msg = toolkit::msg;

// The temperature's digits as a number, if they fit 32 bits.
std::optional<std::int32_t> degreesOf(const std::string &digits)
{
    std::int32_t degrees = 0;
    const char *end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, degrees);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return degrees;
}

// Of a record's item: the parser hands the identifications over apart.
Reading readingOf(const TelemetryItem &item)
{
    if (item.kind == TelemetryItem::Kind::Temperature)
        return {Quantity::Temperature, degreesOf(item.digits), item.digits};
    return {item.kind == TelemetryItem::Kind::Battery ? Quantity::Battery : Quantity::Distance, item.value,
            item.digits};
}

} // namespace

std::optional<double> Reading::value() const
{
    if (!count)
        return std::nullopt;
    return quantity == Quantity::Battery ? *count / 10.0 : *count;
}

TelemetryStream::TelemetryStream(QObject *parent) : QObject(parent) {}

void TelemetryStream::parseFahrwerkAntwort(const std::string &text)
{
    if (!parser.append(text))
        return;
    for (int found = parser.takeIdentifications(); found > 0; --found)
        msg::show(msg::Kind::Plain, msg::Buttons::Ok,
                  UI_TEXT("telemetry::TelemetryStream", "Kettenfahrzeug am WiPort gefunden!"));
    for (const TelemetryItem &item : parser.takeReadings())
        emit readingArrived(readingOf(item));
}

} // namespace telemetry
