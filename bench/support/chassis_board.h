#pragma once
// What the chassis board answers to the console's telemetry requests, so that
// a benchmark's link 2 carries replies too (read by the worker, logged, parsed
// and shown in the gauges) as it does with the robot.
#include <string>

namespace bench {

inline std::string chassisBoardAnswer(const std::string &request)
{
    if (request == "A1")
        return "A42\r";
    if (request == "B1")
        return "B75\r";
    if (request == "T1")
        return "T031\r";
    return {};
}

} // namespace bench
