#pragma once
// Splits what the chassis board sends on link 2 into its identification reply and
// its telemetry records ("A" distance, "B" battery, "T" temperature, each digits
// and a carriage return). Pieces arrive as the transport cuts them; a pass runs
// only once the collected text ends with a carriage return.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace telemetry {

// What asks the chassis board to identify itself; it answers "VELMO-2007" and a
// carriage return, which the parser finds among the records.
inline const std::string kIdentificationQuery = "I1\r";
// Whether text holds the board's identification reply, wherever in it.
bool holdsIdentificationReply(std::string_view text);

struct TelemetryItem {
    enum class Kind { Identification, Distance, Battery, Temperature };
    Kind kind;
    // Distance in centimetres, battery in tenths of a volt; unused otherwise.
    std::int32_t value = 0;
    // The record's digits as received (the temperature read-out shows them so).
    std::string digits;
};

class FahrwerkAntwortParser {
public:
    // The whole pass for one received piece: one Identification per reply found,
    // then the readings in the order they arrived. Empty while the collected text
    // does not yet end with a carriage return.
    std::vector<TelemetryItem> receive(std::string_view piece);

    // The same pass in steps, for a caller that shows a modal box per
    // identification: a reception handled inside that box runs its own pass over
    // the shared buffer, and takeReadings afterwards picks up whatever is left.
    bool append(std::string_view piece); // true when a pass is due
    int takeIdentifications();           // removes every reply, returns how many
    std::vector<TelemetryItem> takeReadings(); // parses and empties the buffer

    const std::string &pending() const { return buffer; }

    // Records are a few bytes long, so an unfinished record always fits; only a
    // stream that never sends a carriage return (wrong baud rate, a babbling
    // device) gets this far, and it must not eat memory without bound.
    static constexpr std::size_t kMaxUnfinished = 4096;

private:
    std::string buffer;
};

// The battery read-out: tenths of a volt with exactly one decimal, e.g. 75 -> "7.5".
std::string formatTenths(std::int32_t tenths, std::string_view decimalSeparator);

} // namespace telemetry
