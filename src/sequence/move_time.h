#pragma once
// How long the SSC-32 takes for one step, worked out from the step itself: the
// player waits this long when the controller does not answer the move-status
// query.
#include <vector>

namespace sequence {

// One joint in one step: where it stood, where it goes, and its speed in µs per
// second (0 or less: no speed term, the controller moves it as fast as it can).
struct JointMove {
    int fromUs = 0;
    int toUs = 0;
    int speed = 0;
};

// What a joint without a speed is given: its servo's own pace is unknown.
constexpr int kMoveWithoutSpeedMs = 1000;

// The slowest joint's time, in whole milliseconds rounded up; a joint that does
// not change its position takes none, whatever its speed says.
int moveTimeMs(const std::vector<JointMove> &joints);

} // namespace sequence
