#include "arm/group_move.h"

namespace arm {

std::string GroupMove::next(const Servos &joints)
{
    std::string command;
    for (int i = 0; i < kJoints; ++i) {
        std::string fragment = joints[i]->getCommand();
        if (fragment != fragments[i])
            command += fragment;
        fragments[i] = std::move(fragment);
    }
    return command;
}

} // namespace arm
