#include "telemetry/telemetry_parser.h"

#include <charconv>
#include <cstdlib>
#include <optional>

namespace telemetry {

namespace {

constexpr std::string_view kIdentification = "VELMO-2007\r";
constexpr char kEndOfRecord = '\r';

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<TelemetryItem::Kind> recordKind(char letter)
{
    switch (letter) {
    case 'A': return TelemetryItem::Kind::Distance;
    case 'B': return TelemetryItem::Kind::Battery;
    case 'T': return TelemetryItem::Kind::Temperature;
    default: return std::nullopt;
    }
}

// A record without digits carries no value; an A or B record whose number does
// not fit 32 bits cannot be shown as one. Both are dropped without a word, like
// any other noise on the line. The temperature shows its digits as text and so
// keeps even an oversized number.
std::optional<TelemetryItem> reading(TelemetryItem::Kind kind, std::string digits)
{
    if (digits.empty())
        return std::nullopt;
    TelemetryItem item{kind, 0, std::move(digits)};
    if (kind == TelemetryItem::Kind::Temperature)
        return item;
    const char *end = item.digits.data() + item.digits.size();
    auto [stop, error] = std::from_chars(item.digits.data(), end, item.value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return item;
}

} // namespace

std::vector<TelemetryItem> FahrwerkAntwortParser::receive(std::string_view piece)
{
    std::vector<TelemetryItem> items;
    if (!append(piece))
        return items;
    items.resize(static_cast<std::size_t>(takeIdentifications()),
                 TelemetryItem{TelemetryItem::Kind::Identification, 0, {}});
    for (TelemetryItem &item : takeReadings())
        items.push_back(std::move(item));
    return items;
}

bool FahrwerkAntwortParser::append(std::string_view piece)
{
    buffer.append(piece);
    if (!buffer.empty() && buffer.back() == kEndOfRecord)
        return true;
    if (buffer.size() > kMaxUnfinished) {
        buffer.erase(0, buffer.size() - kMaxUnfinished);
        // Start the kept text at a record boundary, so that the cut-off tail of
        // an old record cannot pass for a record of its own.
        const std::size_t end = buffer.find(kEndOfRecord);
        if (end != std::string::npos)
            buffer.erase(0, end + 1);
    }
    return false;
}

// Removing one reply can join its neighbours into another: "VELMO-" + reply +
// "2007\r" holds two. Dropping each reply as soon as it completes at the end of
// the kept text finds those too, in one pass instead of one search per reply.
int FahrwerkAntwortParser::takeIdentifications()
{
    std::string kept;
    kept.reserve(buffer.size());
    int found = 0;
    for (char c : buffer) {
        kept.push_back(c);
        if (kept.size() >= kIdentification.size()
            && std::string_view(kept).substr(kept.size() - kIdentification.size()) == kIdentification) {
            kept.resize(kept.size() - kIdentification.size());
            ++found;
        }
    }
    buffer.swap(kept);
    return found;
}

std::vector<TelemetryItem> FahrwerkAntwortParser::takeReadings()
{
    std::vector<TelemetryItem> items;
    std::size_t pos = 0;
    while (pos < buffer.size()) {
        const std::optional<TelemetryItem::Kind> kind = recordKind(buffer[pos++]);
        if (!kind)
            continue; // noise between records (a line feed, a space, garbage)
        std::string digits;
        while (pos < buffer.size()) {
            const char c = buffer[pos++];
            if (c == kEndOfRecord)
                break;
            if (isDigit(c))
                digits.push_back(c);
        }
        if (std::optional<TelemetryItem> item = reading(*kind, std::move(digits)))
            items.push_back(std::move(*item));
    }
    buffer.clear();
    return items;
}

std::string formatTenths(std::int32_t tenths, std::string_view decimalSeparator)
{
    const std::int64_t wide = tenths;
    std::string text = wide < 0 ? "-" : "";
    text += std::to_string(std::llabs(wide) / 10);
    text += decimalSeparator;
    text += std::to_string(std::llabs(wide) % 10);
    return text;
}

bool holdsIdentificationReply(std::string_view text) { return text.find(kIdentification) != std::string_view::npos; }

} // namespace telemetry
