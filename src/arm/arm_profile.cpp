#include "arm/arm_profile.h"

#include <cctype>
#include <cmath>

namespace arm {

double JointCalibration::valueAt(double pulse) const
{
    return first.value + (pulse - first.pulse) * (second.value - first.value) / (second.pulse - first.pulse);
}

double JointCalibration::pulseFor(double value) const
{
    return first.pulse + (value - first.value) * (second.pulse - first.pulse) / (second.value - first.value);
}

ProfileField::ProfileField(std::string key, std::string name, double ArmGeometry::*length)
    : keyText(std::move(key)), nameText(std::move(name)), length(length)
{
}

ProfileField::ProfileField(std::string key, std::string name, int joint, int point,
                           double CalibrationPoint::*part)
    : keyText(std::move(key)), nameText(std::move(name)), joint(joint), point(point), part(part)
{
}

template <class Profile>
auto &ProfileField::in(Profile &profile) const
{
    if (length)
        return profile.geometry.*length;
    auto &calibration = profile.calibration[joint];
    auto &calibrationPoint = point == 1 ? calibration.first : calibration.second;
    return calibrationPoint.*part;
}

double &ProfileField::of(ArmProfile &profile) const { return in(profile); }

double ProfileField::of(const ArmProfile &profile) const { return in(profile); }

namespace {

std::vector<ProfileField> listFields()
{
    std::vector<ProfileField> fields{
        {"base_height_mm", "Sockelhöhe", &ArmGeometry::baseHeight},
        {"upper_arm_mm", "Oberarm", &ArmGeometry::upperArm},
        {"forearm_mm", "Unterarm", &ArmGeometry::forearm},
        {"hand_mm", "Hand", &ArmGeometry::hand},
    };
    for (int joint = 0; joint < kJoints; ++joint) {
        std::string stem;
        for (char c : kJointNames[joint])
            stem += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool opening = joint == kGreifer;
        for (int point = 1; point <= 2; ++point) {
            const std::string key = stem + "_point" + std::to_string(point);
            const std::string name = std::string(kJointNames[joint]) + " Punkt " + std::to_string(point);
            fields.emplace_back(key + "_us", name + " (µs)", joint, point, &CalibrationPoint::pulse);
            fields.emplace_back(key + (opening ? "_mm" : "_deg"), name + (opening ? " (mm)" : " (°)"), joint,
                                point, &CalibrationPoint::value);
        }
    }
    return fields;
}

} // namespace

const std::vector<ProfileField> &profileFields()
{
    static const std::vector<ProfileField> fields = listFields();
    return fields;
}

std::optional<std::string> checkProfile(const ArmProfile &profile)
{
    for (const ProfileField &field : profileFields()) {
        const double value = field.of(profile);
        if (!std::isfinite(value))
            return field.name() + ": keine gültige Zahl";
        if (field.isLength() && value <= 0)
            return field.name() + ": muss größer als 0 mm sein";
    }
    for (int joint = 0; joint < kJoints; ++joint) {
        const JointCalibration &calibration = profile.calibration[joint];
        const std::string name(kJointNames[joint]);
        if (calibration.first.pulse == calibration.second.pulse)
            return name + ": beide Punkte haben dieselbe Pulsbreite";
        if (calibration.first.value == calibration.second.value)
            return name + (joint == kGreifer ? ": beide Punkte haben dieselbe Öffnung"
                                             : ": beide Punkte haben denselben Winkel");
    }
    return std::nullopt;
}

} // namespace arm
