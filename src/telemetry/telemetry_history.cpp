#include "telemetry/telemetry_history.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace telemetry {

namespace {

constexpr double kRotationSeconds = 12 * 0.050;
constexpr double kKeptSeconds = 36 * 3600.0;

bool isBreak(const TelemetrySample &sample) { return std::isnan(sample.value); }

constexpr std::size_t recordsPerRotation(Quantity quantity)
{
    return quantity == Quantity::Distance ? 2 : 1;
}

} // namespace

TelemetryHistory::Capacities TelemetryHistory::dayAndAHalf()
{
    Capacities capacities{};
    for (Quantity quantity : kQuantities)
        capacities[indexOf(quantity)] =
            static_cast<std::size_t>(kKeptSeconds / kRotationSeconds) * recordsPerRotation(quantity);
    return capacities;
}

TelemetryHistory::TelemetryHistory(const Capacities &capacities)
    : rings{Ring(capacities[0]), Ring(capacities[1]), Ring(capacities[2])}
{
}

void TelemetryHistory::append(Quantity quantity, double time, double value)
{
    if (newest && !(time >= *newest))
        time = *newest;
    newest = time;
    rings[indexOf(quantity)].push({time, value});
}

void TelemetryHistory::appendBreak(double time)
{
    for (Quantity quantity : kQuantities) {
        const Ring &ring = rings[indexOf(quantity)];
        if (ring.size() > 0 && !isBreak(ring[ring.size() - 1]))
            append(quantity, time, std::numeric_limits<double>::quiet_NaN());
    }
}

std::size_t TelemetryHistory::size(Quantity quantity) const { return rings[indexOf(quantity)].size(); }

std::optional<TelemetrySample> TelemetryHistory::latest(Quantity quantity) const
{
    const Ring &ring = rings[indexOf(quantity)];
    if (ring.size() == 0)
        return std::nullopt;
    return ring[ring.size() - 1];
}

std::optional<double> TelemetryHistory::newestTime() const { return newest; }

std::vector<TelemetrySample> TelemetryHistory::around(Quantity quantity, double from, double to) const
{
    const Ring &ring = rings[indexOf(quantity)];
    const std::size_t first = ring.firstFrom(from);
    const std::size_t end = ring.firstAfter(to);
    std::vector<TelemetrySample> samples;
    for (std::size_t index = first > 0 ? first - 1 : 0; index < std::min(end + 1, ring.size()); ++index)
        samples.push_back(ring[index]);
    return samples;
}

std::optional<TelemetrySample> TelemetryHistory::nearest(Quantity quantity, double time) const
{
    const Ring &ring = rings[indexOf(quantity)];
    std::size_t after = ring.firstFrom(time);
    std::size_t before = after;
    if (after < ring.size() && isBreak(ring[after]))
        ++after;
    if (before > 0 && isBreak(ring[before - 1]))
        --before;
    if (before == 0)
        return after < ring.size() ? std::optional(ring[after]) : std::nullopt;
    const TelemetrySample &earlier = ring[before - 1];
    if (after == ring.size())
        return earlier;
    const TelemetrySample &later = ring[after];
    return time - earlier.time <= later.time - time ? earlier : later;
}

// Uninitialised on purpose: the pages of a ring are only touched as it fills, so
// a console that never connects the chassis does not pay for a day of samples.
TelemetryHistory::Ring::Ring(std::size_t capacity)
    : cells(new TelemetrySample[std::max<std::size_t>(capacity, 1)]), capacity(std::max<std::size_t>(capacity, 1))
{
}

void TelemetryHistory::Ring::push(const TelemetrySample &sample)
{
    cells[next] = sample;
    next = next + 1 == capacity ? 0 : next + 1;
    if (count < capacity)
        ++count;
}

const TelemetrySample &TelemetryHistory::Ring::operator[](std::size_t index) const
{
    std::size_t cell = next + capacity - count + index;
    if (cell >= capacity)
        cell -= capacity;
    return cells[cell];
}

template <typename Before>
std::size_t TelemetryHistory::Ring::partitionPoint(Before before) const
{
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (before((*this)[middle].time))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

std::size_t TelemetryHistory::Ring::firstFrom(double time) const
{
    return partitionPoint([time](double sampleTime) { return sampleTime < time; });
}

std::size_t TelemetryHistory::Ring::firstAfter(double time) const
{
    return partitionPoint([time](double sampleTime) { return sampleTime <= time; });
}

} // namespace telemetry
