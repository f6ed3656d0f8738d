#include "ssc32_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace sim {

namespace {

enum class Query { Version, MoveStatus, Pulse };

struct QueryItem {
    Query kind;
    int channel;
};

// Spaces are insignificant and letters may come in either case.
std::string normalized(const std::string &line)
{
    std::string out;
    for (unsigned char c : line) {
        if (c != ' ' && c != '\t')
            out += static_cast<char>(std::toupper(c));
    }
    return out;
}

// Reads an unsigned decimal at pos; large values saturate instead of overflowing.
bool readNumber(const std::string &text, std::size_t &pos, int &value)
{
    constexpr int kSaturation = 10000000;
    const std::size_t start = pos;
    long long number = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        number = std::min<long long>(number * 10 + (text[pos] - '0'), kSaturation);
        ++pos;
    }
    value = static_cast<int>(number);
    return pos > start;
}

bool isChannel(int channel)
{
    return channel >= 0 && channel < Ssc32Model::kChannels;
}

} // namespace

struct Ssc32Model::Command {
    std::vector<Fragment> fragments;
    int groupTimeMs = 0;
    std::vector<QueryItem> queries;
};

std::string Ssc32Model::handleLine(const std::string &line)
{
    Command command;
    if (!parse(normalized(line), command))
        return {};
    startGroupMove(command);
    return answerQueries(command);
}

bool Ssc32Model::parse(const std::string &text, Command &command)
{
    std::size_t pos = 0;
    Fragment *current = nullptr;
    while (pos < text.size()) {
        int value = 0;
        if (text.compare(pos, 3, "VER") == 0) {
            pos += 3;
            command.queries.push_back({Query::Version, -1});
            current = nullptr;
        } else if (text.compare(pos, 2, "QP") == 0) {
            pos += 2;
            if (!readNumber(text, pos, value) || !isChannel(value))
                return false;
            command.queries.push_back({Query::Pulse, value});
            current = nullptr;
        } else if (text[pos] == 'Q') {
            ++pos;
            command.queries.push_back({Query::MoveStatus, -1});
            current = nullptr;
        } else if (text[pos] == '#') {
            ++pos;
            if (!readNumber(text, pos, value) || !isChannel(value))
                return false;
            command.fragments.push_back({value, -1, 0});
            current = &command.fragments.back();
        } else if (text[pos] == 'P' && current) {
            ++pos;
            if (!readNumber(text, pos, current->pulse))
                return false;
        } else if (text[pos] == 'S' && current) {
            ++pos;
            if (!readNumber(text, pos, current->speed))
                return false;
        } else if (text[pos] == 'T') {
            ++pos;
            if (!readNumber(text, pos, command.groupTimeMs))
                return false;
            current = nullptr;
        } else {
            return false;
        }
    }
    return std::all_of(command.fragments.begin(), command.fragments.end(),
                       [](const Fragment &f) { return f.pulse >= 0; });
}

// Without a time term every channel runs at its own speed (or jumps). With one, the
// group takes the longer of that time and its slowest channel's speed-bound time,
// and all channels arrive together. A channel without a pulse yet has no known
// position, so it jumps to its first target whatever the speed says.
void Ssc32Model::startGroupMove(const Command &command)
{
    double groupSeconds = command.groupTimeMs / 1000.0;
    for (const Fragment &f : command.fragments) {
        const Channel &ch = channels[f.channel];
        const int pulse = std::clamp(f.pulse, kMinPulse, kMaxPulse);
        if (ch.position > 0 && f.speed > 0)
            groupSeconds = std::max(groupSeconds, std::abs(pulse - ch.position) / f.speed);
    }
    for (const Fragment &f : command.fragments) {
        Channel &ch = channels[f.channel];
        ch.target = std::clamp(f.pulse, kMinPulse, kMaxPulse);
        const double distance = std::abs(ch.target - ch.position);
        if (ch.position <= 0 || distance == 0) {
            ch.position = ch.target;
            ch.speed = 0;
        } else if (command.groupTimeMs > 0) {
            ch.speed = distance / groupSeconds;
        } else {
            ch.speed = f.speed;
        }
        if (ch.speed <= 0)
            ch.position = ch.target;
    }
}

std::string Ssc32Model::answerQueries(const Command &command) const
{
    std::string reply;
    for (const QueryItem &q : command.queries) {
        switch (q.kind) {
        case Query::Version:
            reply += kVersionReply;
            break;
        case Query::MoveStatus:
            if (!moveStatusIgnored)
                reply += isMoving() ? '+' : '.';
            break;
        case Query::Pulse:
            reply += static_cast<char>(position(q.channel) / 10);
            break;
        }
    }
    return reply;
}

void Ssc32Model::advance(int elapsedMs)
{
    for (Channel &ch : channels) {
        if (ch.position == ch.target)
            continue;
        const double step = ch.speed * elapsedMs / 1000.0;
        const double remaining = ch.target - ch.position;
        ch.position = std::abs(remaining) <= step ? ch.target
                                                  : ch.position + std::copysign(step, remaining);
    }
}

int Ssc32Model::position(int channel) const
{
    return static_cast<int>(std::lround(channels.at(channel).position));
}

double Ssc32Model::pulseWidth(int channel) const { return channels.at(channel).position; }

int Ssc32Model::target(int channel) const
{
    return channels.at(channel).target;
}

bool Ssc32Model::inUse(int channel) const
{
    return channels.at(channel).target > 0;
}

bool Ssc32Model::isMoving() const
{
    return std::any_of(channels.begin(), channels.end(),
                       [](const Channel &ch) { return ch.position != ch.target; });
}

} // namespace sim
