#include "sequence/move_time.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace sequence {

int moveTimeMs(const std::vector<JointMove> &joints)
{
    long long longest = 0;
    for (const JointMove &joint : joints) {
        const long long distance = std::llabs(static_cast<long long>(joint.toUs) - joint.fromUs);
        if (distance == 0)
            continue;
        const long long ms =
            joint.speed <= 0 ? kMoveWithoutSpeedMs : (distance * 1000 + joint.speed - 1) / joint.speed;
        longest = std::max(longest, ms);
    }
    return static_cast<int>(std::min<long long>(longest, std::numeric_limits<int>::max()));
}

} // namespace sequence
