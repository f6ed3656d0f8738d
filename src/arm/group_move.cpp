#include "arm/group_move.h"

namespace arm {

std::string GroupMove::next(const Servos &joints, int timeMs)
{
    std::string command;
    for (int i = 0; i < kJoints; ++i) {
        std::string fragment = joints[i]->getCommand();
        if (fragment != fragments[i])
            command += timeMs > 0 ? fragment.substr(0, fragment.find('S')) : fragment;
        fragments[i] = std::move(fragment);
    }
    if (timeMs > 0 && !command.empty())
        command += "T" + std::to_string(timeMs);
    return command;
}

} // namespace arm
