#pragma once
// When each piece of a move in millimetres goes out, and where the controller
// has the joints in between. A piece goes when the one before it is due to
// arrive, with the time left until its own arrival, so a timer that fires late
// does not slow the move down; the SSC-32 moves every pulse width linearly over
// a piece's time, which tells where the joints are meanwhile. Time is passed
// in (ms, monotonic), so a made-up clock does as well as a real one.
#include "arm/straight_move.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace arm {

using Millis = std::int64_t;

// A piece as it goes out: where the joints go and the time term.
struct TimedPiece {
    CommandPulses pulses;
    int timeMs;
};

class PieceSchedule {
public:
    // A move sets out at now from where the joints stand: its first piece is due at once.
    void begin(std::vector<MovePiece> pieces, const CommandPulses &from, Millis now);
    // The pieces not sent yet give way to these, which follow on from the end of
    // the piece under way (at once when none is).
    void follow(std::vector<MovePiece> pieces, Millis now);
    void clear();

    // The next piece once it is due; nothing before then or after the last.
    std::optional<TimedPiece> take(Millis now);
    // When take() or the last piece's arrival is due next; nothing once all has arrived.
    std::optional<Millis> nextWakeAt(Millis now) const;
    bool allSent() const { return nextPiece == pieces.size(); }
    bool arrived(Millis now) const { return allSent() && now >= arrivesAt; }
    // Where the controller has the joints at a moment: on the way from the start
    // to the end of the piece under way, rounded to whole µs.
    CommandPulses reachedAt(Millis moment) const;
    bool underWay(Millis now) const { return now < arrivesAt; }
    // When the last piece is due to arrive, the pieces not sent yet following on in time.
    Millis lastArrival() const;

private:
    std::vector<MovePiece> pieces;
    std::size_t nextPiece = 0;
    Millis nextDueAt = 0;
    // The piece last sent: where it set out from, where it goes, when it left and arrives.
    CommandPulses sentFrom{};
    CommandPulses sentTo{};
    Millis sentAt = 0;
    Millis arrivesAt = 0;
};

} // namespace arm
