#pragma once
// How the program learns which controller answers a link: each link's probe,
// sent on every TCP connect, and the arm's answer. (The chassis answer is found
// by the telemetry parser, in the reply text it gathers.)
#include <string>

namespace comm {

inline const std::string kArmProbe = "VER\r";
inline const std::string kChassisProbe = "I1\r";

// Announces the arm's servo controller when text is exactly its version reply:
// recognised only as one whole block or read.
void identifyArm(const std::string &text);

} // namespace comm
