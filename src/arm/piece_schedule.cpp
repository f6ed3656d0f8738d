#include "arm/piece_schedule.h"

#include <algorithm>
#include <cmath>

namespace arm {

void PieceSchedule::begin(std::vector<MovePiece> newPieces, const CommandPulses &from, Millis now)
{
    sentFrom = from;
    sentTo = from;
    sentAt = now;
    arrivesAt = now;
    follow(std::move(newPieces), now);
}

void PieceSchedule::follow(std::vector<MovePiece> newPieces, Millis now)
{
    pieces = std::move(newPieces);
    nextPiece = 0;
    nextDueAt = std::max(now, arrivesAt);
}

void PieceSchedule::clear()
{
    pieces.clear();
    nextPiece = 0;
    arrivesAt = 0;
}

// The time term runs to the piece's arrival on the move's own clock: the
// pieces' times add up from the moment the move set out.
std::optional<TimedPiece> PieceSchedule::take(Millis now)
{
    if (allSent() || now < nextDueAt)
        return std::nullopt;
    const MovePiece &piece = pieces[nextPiece++];
    const int timeMs = int(std::max<Millis>(1, nextDueAt + piece.timeMs - now));
    sentFrom = sentTo;
    sentTo = piece.pulses;
    sentAt = now;
    arrivesAt = now + timeMs;
    nextDueAt = arrivesAt;
    return TimedPiece{piece.pulses, timeMs};
}

std::optional<Millis> PieceSchedule::nextWakeAt(Millis now) const
{
    if (!allSent())
        return nextDueAt;
    if (underWay(now))
        return arrivesAt;
    return std::nullopt;
}

Millis PieceSchedule::lastArrival() const
{
    Millis arrival = nextDueAt;
    for (std::size_t piece = nextPiece; piece < pieces.size(); ++piece)
        arrival += pieces[piece].timeMs;
    return std::max(arrival, arrivesAt);
}

CommandPulses PieceSchedule::reachedAt(Millis moment) const
{
    if (moment >= arrivesAt)
        return sentTo;
    const double share = double(std::max<Millis>(0, moment - sentAt)) / double(arrivesAt - sentAt);
    CommandPulses reached;
    for (int joint = 0; joint < kJoints; ++joint)
        reached[joint] = int(std::lround(sentFrom[joint] + share * (sentTo[joint] - sentFrom[joint])));
    return reached;
}

} // namespace arm
