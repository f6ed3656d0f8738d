#pragma once
// The chassis board's replies as readings. Holds the text of link 2 that is not
// yet parsed. Written by link 2, with each piece it receives; read, through
// readingArrived, by the read-outs and gauges (TelemetryPanel) and by the
// history, alarms and CSV recording (TelemetryRecord). The board's
// identification reply is announced in a box.
#include "telemetry/telemetry_parser.h"
#include "telemetry/telemetry_quantity.h"

#include <QObject>
#include <cstdint>
#include <optional>
#include <string>

namespace telemetry {

// One record of the board, as it came.
struct Reading {
    Quantity quantity;
    // As the board counts: centimetres, tenths of a volt, degrees Celsius. None
    // for temperature digits beyond a 32-bit number: shown, but no value.
    std::optional<std::int32_t> count;
    // The record's digits as received (the temperature read-out shows them so).
    std::string digits;

    // In the unit of read-outs, plots and record: centimetres, volts, degrees Celsius.
    std::optional<double> value() const;
};

class TelemetryStream : public QObject {
    Q_OBJECT

public:
    explicit TelemetryStream(QObject *parent = nullptr);

    // One received piece of link 2, as it came. Each identification reply gets
    // its box; a piece received while the box is open runs its own pass, and the
    // readings left afterwards follow.
    void parseFahrwerkAntwort(const std::string &text);

signals:
    // One per record, in the order they arrived.
    void readingArrived(const telemetry::Reading &reading);

private:
    FahrwerkAntwortParser parser;
};

} // namespace telemetry
