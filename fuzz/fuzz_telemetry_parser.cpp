// The link-2 reply parser on pieces cut where the fuzzer chooses. Option bit 0 takes
// the modal-box path: after a piece with identifications the next piece arrives
// while the box is open, and the readings are taken afterwards.
#include "fuzz_input.h"

#include "telemetry/telemetry_parser.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

using telemetry::FahrwerkAntwortParser;
using telemetry::TelemetryItem;

namespace {

std::size_t carriageReturnsIn(std::string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
}

bool allDigits(const std::string &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void checkItem(const TelemetryItem &item)
{
    if (item.kind == TelemetryItem::Kind::Identification) {
        fuzz::expect(item.digits.empty() && item.value == 0, "an identification carries no reading");
        return;
    }
    fuzz::expect(!item.digits.empty() && allDigits(item.digits), "a reading is a run of digits");
    if (item.kind == TelemetryItem::Kind::Temperature)
        return;
    // Unsigned digits within 32 bits: the value is exactly the number they spell.
    fuzz::expect(item.value >= 0, "distance and battery are never negative");
    const std::size_t significant = item.digits.find_first_not_of('0');
    const std::string spelled = significant == std::string::npos ? "0" : item.digits.substr(significant);
    fuzz::expect(std::to_string(item.value) == spelled, "the value is the number its digits spell");
}

// The read-out with its separator taken out is the number of tenths itself.
void checkTenths(std::int32_t tenths)
{
    std::string text = telemetry::formatTenths(tenths, ",");
    const std::size_t comma = text.find(',');
    fuzz::expect(comma != std::string::npos && comma + 2 == text.size(), "exactly one decimal");
    text.erase(comma, 1);
    fuzz::expect(std::stoll(text) == tenths, "the read-out spells the tenths");
}

void append(std::vector<TelemetryItem> &items, std::vector<TelemetryItem> more)
{
    std::move(more.begin(), more.end(), std::back_inserter(items));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::SplitInput input = fuzz::splitInput(data, size);
    const std::vector<std::string_view> &pieces = input.pieces;
    const bool withBox = input.options & 1;
    FahrwerkAntwortParser parser;
    std::size_t carriageReturns = 0;
    std::size_t passes = 0;
    std::size_t items = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        carriageReturns += carriageReturnsIn(pieces[i]);
        const bool closesText = !pieces[i].empty() && pieces[i].back() == '\r';
        passes += closesText;
        std::vector<TelemetryItem> got;
        if (!withBox || i + 1 == pieces.size()) {
            got = parser.receive(pieces[i]);
        } else if (parser.append(pieces[i])) {
            got.assign(static_cast<std::size_t>(parser.takeIdentifications()),
                       TelemetryItem{TelemetryItem::Kind::Identification, 0, {}});
            if (!got.empty()) {
                // The box is open: the next piece arrives and runs a pass of its own.
                carriageReturns += carriageReturnsIn(pieces[++i]);
                append(got, parser.receive(pieces[i]));
            }
            append(got, parser.takeReadings());
        }
        for (const TelemetryItem &item : got) {
            checkItem(item);
            if (item.kind == TelemetryItem::Kind::Battery)
                checkTenths(item.value);
        }
        items += got.size();
        fuzz::expect(got.empty() || closesText, "nothing is parsed before a carriage return closes the text");
        // Each identification takes a carriage return, and so does each reading but
        // the last of a pass, which the end of the text may end.
        fuzz::expect(items <= carriageReturns + passes, "no item is made up or repeated");
        fuzz::expect(parser.pending().size() <= FahrwerkAntwortParser::kMaxUnfinished,
                     "unfinished text stays bounded");
    }
    if (size >= sizeof(std::int32_t)) {
        std::int32_t tenths = 0;
        std::memcpy(&tenths, data + size - sizeof tenths, sizeof tenths);
        checkTenths(tenths);
    }
    return 0;
}
