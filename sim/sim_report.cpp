#include "sim_report.h"

#include "arm_shape.h"
#include "chassis_model.h"
#include "ssc32_model.h"

#include <cstdio>
#include <iomanip>
#include <sstream>

namespace sim {

namespace {

std::string signedSpeed(int speed)
{
    return (speed > 0 ? "+" : "") + std::to_string(speed);
}

const char *onOff(bool on)
{
    return on ? "on" : "off";
}

std::string armPart(const Ssc32Model &arm)
{
    std::string text = "arm";
    for (int ch = 0; ch < Ssc32Model::kChannels; ++ch) {
        if (!arm.inUse(ch))
            continue;
        text += " #" + std::to_string(ch) + "=" + std::to_string(arm.position(ch));
        if (arm.position(ch) != arm.target(ch))
            text += ">" + std::to_string(arm.target(ch));
    }
    if (text == "arm")
        text += " idle";
    return text;
}

std::string tipPart(const Ssc32Model &arm, const ArmShape &shape)
{
    const std::optional<::arm::JointPulses> pulses = shape.pulsesOf(arm);
    if (!pulses)
        return "tip -";
    const ::arm::Point tip = shape.kinematics().poseAt(*pulses).tip;
    std::ostringstream out;
    out << std::fixed << std::setprecision(1) << "tip x " << tip.x + 0.0 << " y " << tip.y + 0.0 << " z "
        << tip.z + 0.0;
    return out.str();
}

} // namespace

std::string statusLine(long long elapsedMs, const Ssc32Model &arm, const ArmShape &shape,
                       const ChassisModel &chassis)
{
    std::ostringstream out;
    out << elapsedMs / 1000 << '.' << elapsedMs % 1000 / 100 << " s | " << armPart(arm) << " | "
        << tipPart(arm, shape) << " | tracks L" << signedSpeed(chassis.leftSpeed()) << " R" << signedSpeed(chassis.rightSpeed())
        << " horn " << onOff(chassis.horn()) << " hazard " << onOff(chassis.hazard())
        << " | A" << chassis.distanceCm() << " B" << chassis.batteryTenthsOfVolt()
        << " T" << chassis.temperatureCelsius();
    return out.str();
}

std::string logLine(long long elapsedMs, const std::string &link, const std::string &line)
{
    std::string text = std::to_string(elapsedMs) + " " + link + " ";
    for (unsigned char c : line) {
        if (c < 0x20 || c >= 0x7f || c == '\\') {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        } else {
            text += static_cast<char>(c);
        }
    }
    return text;
}

} // namespace sim
