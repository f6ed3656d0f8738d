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

platform::UiText jointName(int joint)
{
    static const std::array<platform::UiText, kJoints> names{
        UI_TEXT("arm::Joint", "Basis"),      UI_TEXT("arm::Joint", "Schulter"), UI_TEXT("arm::Joint", "Ellenbogen"),
        UI_TEXT("arm::Joint", "Handgelenk"), UI_TEXT("arm::Joint", "Greifer"),
    };
    return names[std::size_t(joint)];
}

ProfileField::ProfileField(std::string key, platform::UiText name, double ArmGeometry::*length)
    : keyText(std::move(key)), nameText(std::move(name)), length(length)
{
}

ProfileField::ProfileField(std::string key, platform::UiText name, int joint, int point,
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
        {"base_height_mm", UI_TEXT("arm::ArmProfile", "Sockelhöhe"), &ArmGeometry::baseHeight},
        {"upper_arm_mm", UI_TEXT("arm::ArmProfile", "Oberarm"), &ArmGeometry::upperArm},
        {"forearm_mm", UI_TEXT("arm::ArmProfile", "Unterarm"), &ArmGeometry::forearm},
        {"hand_mm", UI_TEXT("arm::ArmProfile", "Hand"), &ArmGeometry::hand},
    };
    for (int joint = 0; joint < kJoints; ++joint) {
        std::string stem;
        for (char c : kJointNames[joint])
            stem += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const bool opening = joint == kGreifer;
        for (int point = 1; point <= 2; ++point) {
            const std::string key = stem + "_point" + std::to_string(point);
            fields.emplace_back(key + "_us", UI_TEXT("arm::ArmProfile", "%1 Punkt %2 (µs)").arg(jointName(joint)).arg(point),
                                joint, point, &CalibrationPoint::pulse);
            const platform::UiText value =
                opening ? UI_TEXT("arm::ArmProfile", "%1 Punkt %2 (mm)") : UI_TEXT("arm::ArmProfile", "%1 Punkt %2 (°)");
            fields.emplace_back(key + (opening ? "_mm" : "_deg"), value.arg(jointName(joint)).arg(point), joint, point,
                                &CalibrationPoint::value);
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

std::optional<platform::UiText> checkProfile(const ArmProfile &profile)
{
    for (const ProfileField &field : profileFields()) {
        const double value = field.of(profile);
        if (!std::isfinite(value))
            return UI_TEXT("arm::ArmProfile", "%1: keine gültige Zahl").arg(field.name());
        if (field.isLength() && value <= 0)
            return UI_TEXT("arm::ArmProfile", "%1: muss größer als 0 mm sein").arg(field.name());
    }
    for (int joint = 0; joint < kJoints; ++joint) {
        const JointCalibration &calibration = profile.calibration[joint];
        if (calibration.first.pulse == calibration.second.pulse)
            return UI_TEXT("arm::ArmProfile", "%1: beide Punkte haben dieselbe Pulsbreite").arg(jointName(joint));
        if (calibration.first.value == calibration.second.value)
            return (joint == kGreifer ? UI_TEXT("arm::ArmProfile", "%1: beide Punkte haben dieselbe Öffnung")
                                      : UI_TEXT("arm::ArmProfile", "%1: beide Punkte haben denselben Winkel"))
                .arg(jointName(joint));
    }
    return std::nullopt;
}

} // namespace arm
