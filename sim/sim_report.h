#pragma once
// The simulator's text output: the status line printed every second and the
// lines of the receive log.
#include <array>
#include <string>

namespace sim {

class ArmShape;
class ChassisModel;
class Ssc32Model;

// E.g. "12.0 s | arm #16=1500 #17=1650>1800 | tip x 287.3 y 0.0 z 213.4 | tracks L+120 R+120
// horn off hazard on | A42 B79 T31". Lists the channels in use; a moving channel shows its
// target after ">". The tip (mm) is where the arm's joints put it, "tip -" until all are commanded.
std::string statusLine(long long elapsedMs, const Ssc32Model &arm, const ArmShape &shape,
                       const ChassisModel &chassis);

// "<ms> <link> <line>" with control and non-ASCII bytes as \xNN, so a record is one text line.
std::string logLine(long long elapsedMs, const std::string &link, const std::string &line);

} // namespace sim
