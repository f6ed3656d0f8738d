#pragma once
// What the chassis reported over time: per reading a ring of samples stamped with
// the monotonic time of their arrival, the oldest dropped when a ring is full.
//
// Its size: one chassis rotation of twelve 50 ms steps (600 ms) asks twice for the
// distance and once each for battery and temperature, so the board sends 4 records
// per 600 ms, about 6.7 per second, 576 000 a day. The rings hold one and a half
// days of that (864 000 samples, 13.2 MiB, allocated up front but touched only as
// they fill), so a day's run and a reading asked for now and then by hand fit.
#include "telemetry/telemetry_quantity.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace telemetry {

struct TelemetrySample {
    double time;  // monotonic seconds
    double value; // volts, degrees Celsius or centimetres
};

class TelemetryHistory {
public:
    using Capacities = std::array<std::size_t, kQuantities.size()>;
    static Capacities dayAndAHalf();

    explicit TelemetryHistory(const Capacities &capacities = dayAndAHalf());

    // Arrival times never go back; one that does (a clock stepped by hand) is
    // taken as the newest time so far, which keeps the rings ordered.
    void append(Quantity quantity, double time, double value);
    // No reading came from each ring's newest sample to the next one (link 2
    // was gone): a sample whose value is NaN, so that a line drawn through the
    // samples breaks there. Once per gap.
    void appendBreak(double time);

    std::size_t size(Quantity quantity) const;
    std::optional<TelemetrySample> latest(Quantity quantity) const;
    // The newest arrival of any reading, if there was one.
    std::optional<double> newestTime() const;
    // The samples from `from` to `to`, with the one just before and the one just
    // after, so that a line drawn through them reaches both edges.
    std::vector<TelemetrySample> around(Quantity quantity, double from, double to) const;
    // The nearest reading; a break is none.
    std::optional<TelemetrySample> nearest(Quantity quantity, double time) const;

private:
    class Ring {
    public:
        explicit Ring(std::size_t capacity);
        void push(const TelemetrySample &sample);
        std::size_t size() const { return count; }
        // index 0 is the oldest sample
        const TelemetrySample &operator[](std::size_t index) const;
        // index of the first sample at or after time, or after it (size() if none)
        std::size_t firstFrom(double time) const;
        std::size_t firstAfter(double time) const;

    private:
        template <typename Before>
        std::size_t partitionPoint(Before before) const;

        std::unique_ptr<TelemetrySample[]> cells;
        std::size_t capacity;
        std::size_t next = 0;
        std::size_t count = 0;
    };

    std::array<Ring, kQuantities.size()> rings;
    std::optional<double> newest;
};

} // namespace telemetry
