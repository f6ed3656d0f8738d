#include "support/figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace bench {
namespace {

int missed = 0;

std::string formatted(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, std::fabs(value) >= 100 ? "%.1f" : "%.3f", value);
    return text;
}

} // namespace

double percentile(std::vector<double> samples, double share)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * samples.size()));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

double mean(const std::vector<double> &samples)
{
    return samples.empty() ? 0 : std::accumulate(samples.begin(), samples.end(), 0.0) / samples.size();
}

Figure::Figure(std::string name, double value, std::string unit)
    : name(std::move(name)), value(value), unit(std::move(unit))
{
}

Figure &Figure::against(std::string name, double value)
{
    referenceName = std::move(name);
    referenceValue = value;
    return *this;
}

Figure &Figure::atMost(double limit)
{
    goals.push_back({Bound::AtMost, limit});
    return *this;
}

Figure &Figure::atLeast(double limit)
{
    goals.push_back({Bound::AtLeast, limit});
    return *this;
}

Figure &Figure::ratioAtMost(double limit)
{
    goals.push_back({Bound::RatioAtMost, limit});
    return *this;
}

bool Figure::print() const
{
    std::string line = name + "  " + formatted(value) + " " + unit;
    const bool hasReference = !referenceName.empty();
    const double ratio = hasReference && referenceValue != 0 ? value / referenceValue : 0;
    if (hasReference)
        line += "  | ref " + referenceName + " " + formatted(referenceValue) + " " + unit + ", ratio " + formatted(ratio);
    bool allMet = true;
    for (const Goal &goal : goals) {
        bool met = false;
        switch (goal.bound) {
        case Bound::AtMost:
            met = value <= goal.limit;
            line += "  | goal <= " + formatted(goal.limit) + " " + unit;
            break;
        case Bound::AtLeast:
            met = value >= goal.limit;
            line += "  | goal >= " + formatted(goal.limit) + " " + unit;
            break;
        case Bound::RatioAtMost:
            met = hasReference && ratio <= goal.limit;
            line += "  | goal ratio <= " + formatted(goal.limit);
            break;
        }
        line += met ? ": met" : ": MISSED";
        allMet = allMet && met;
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    if (!allMet)
        ++missed;
    return allMet;
}

int missedGoals() { return missed; }

} // namespace bench
