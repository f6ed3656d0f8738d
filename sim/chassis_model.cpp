#include "chassis_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace sim {

namespace {

// Mean track speed 255 moves the chassis this fast.
constexpr double kFullSpeedCmPerSecond = 40;
// Full load empties the battery in 100 s: a minute of driving shows in the gauge.
constexpr double kDrainVoltsPerSecondAtFullLoad = 0.012;
// Heat-sink temperature reached after long driving at full load.
constexpr double kFullLoadRiseCelsius = 48;
constexpr double kHeatingTimeConstantSeconds = 15;
constexpr double kCoolingTimeConstantSeconds = 30;

// Letter followed by an optional minus sign and decimal digits, e.g. "K-155".
bool readItem(const std::string &text, std::size_t &pos, char &letter, int &value)
{
    letter = text[pos++];
    const bool negative = pos < text.size() && text[pos] == '-';
    if (negative)
        ++pos;
    const std::size_t digitsStart = pos;
    long long number = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        number = std::min<long long>(number * 10 + (text[pos] - '0'), 1000000);
        ++pos;
    }
    value = static_cast<int>(negative ? -number : number);
    return pos > digitsStart;
}

bool isKnownLetter(char letter)
{
    return std::string("KLQRWHABTI").find(letter) != std::string::npos;
}

} // namespace

std::string ChassisModel::handleLine(const std::string &line)
{
    std::vector<std::pair<char, int>> items;
    std::size_t pos = 0;
    while (pos < line.size()) {
        char letter = 0;
        int value = 0;
        if (!readItem(line, pos, letter, value) || !isKnownLetter(letter))
            return {};
        items.emplace_back(letter, value);
    }
    std::string reply;
    for (const auto &[letter, value] : items)
        reply += execute(letter, value);
    return reply;
}

std::string ChassisModel::execute(char letter, int value)
{
    const int speed = std::clamp(value, -kMaxTrackSpeed, kMaxTrackSpeed);
    switch (letter) {
    case 'K': driveTrack(left, speed); return {};
    case 'L': driveTrack(left, -speed); return {};
    case 'Q': driveTrack(right, speed); return {};
    case 'R': driveTrack(right, -speed); return {};
    case 'W': hazardOn = value != 0; return {};
    case 'H': hornOn = value != 0; return {};
    case 'A': return value == 1 ? "A" + std::to_string(distanceCm()) + "\r" : "";
    case 'B': return value == 1 ? "B" + std::to_string(batteryTenthsOfVolt()) + "\r" : "";
    case 'T': return value == 1 ? "T" + std::to_string(temperatureCelsius()) + "\r" : "";
    case 'I': return value == 1 ? kIdentificationReply : "";
    }
    return {};
}

void ChassisModel::driveTrack(int &track, int speed)
{
    track = speed;
    msSinceTrackCommand = 0;
}

// The watchdog cuts the tracks part-way through a long step, so the step is split there.
void ChassisModel::advance(int elapsedMs)
{
    const bool running = left != 0 || right != 0;
    const int untilWatchdog = std::max(kWatchdogMs - msSinceTrackCommand, 0);
    msSinceTrackCommand = std::min(msSinceTrackCommand + elapsedMs, kWatchdogMs);
    if (running && elapsedMs >= untilWatchdog) {
        run(untilWatchdog / 1000.0);
        left = right = 0;
        run((elapsedMs - untilWatchdog) / 1000.0);
    } else {
        run(elapsedMs / 1000.0);
    }
}

void ChassisModel::run(double seconds)
{
    const double load = motorLoad();
    const double meanSpeed = (left + right) / 2.0;
    distance = std::clamp(distance + meanSpeed / kMaxTrackSpeed * kFullSpeedCmPerSecond * seconds,
                          kMinDistanceCm, kMaxDistanceCm);
    volts = std::max(volts - load * kDrainVoltsPerSecondAtFullLoad * seconds, kEmptyBatteryVolts);
    const double settled = kAmbientCelsius + load * kFullLoadRiseCelsius;
    const double timeConstant =
        settled > celsius ? kHeatingTimeConstantSeconds : kCoolingTimeConstantSeconds;
    celsius = settled + (celsius - settled) * std::exp(-seconds / timeConstant);
}

double ChassisModel::motorLoad() const
{
    return (std::abs(left) + std::abs(right)) / (2.0 * kMaxTrackSpeed);
}

int ChassisModel::distanceCm() const
{
    return static_cast<int>(std::lround(distance));
}

int ChassisModel::batteryTenthsOfVolt() const
{
    return static_cast<int>(std::lround(volts * 10));
}

int ChassisModel::temperatureCelsius() const
{
    return static_cast<int>(std::lround(celsius));
}

} // namespace sim
