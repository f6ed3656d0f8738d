#pragma once
// How every benchmark reports: one line per figure, "name value unit", then the
// reference measured in the same run and the ratio to it where there is one,
// then the goal and whether it was met. The machines are shared and noisy, so a
// ratio to a same-run reference says more than an absolute figure.
#include <string>
#include <vector>

namespace bench {

// Nearest-rank percentile of samples (share 0..1); 0 for no samples.
double percentile(std::vector<double> samples, double share);
double mean(const std::vector<double> &samples);

class Figure {
public:
    Figure(std::string name, double value, std::string unit);

    // The same-run reference this figure is compared with.
    Figure &against(std::string referenceName, double referenceValue);
    // Goals on the value itself, or on the ratio to the reference; a figure may
    // have several.
    Figure &atMost(double limit);
    Figure &atLeast(double limit);
    Figure &ratioAtMost(double limit);

    // Prints the line; false when a goal was missed.
    bool print() const;

private:
    std::string name;
    double value;
    std::string unit;
    std::string referenceName;
    double referenceValue = 0;
    enum class Bound { AtMost, AtLeast, RatioAtMost };
    struct Goal {
        Bound bound;
        double limit;
    };
    std::vector<Goal> goals;
};

// Goals missed so far by this process, for its exit summary.
int missedGoals();

} // namespace bench
