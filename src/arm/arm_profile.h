#pragma once
// The arm profile: how long the arm's links are and, per joint, how a pulse
// width maps to the joint's angle. The kinematics (arm/kinematics.h) say where
// the angles point; this file only holds the numbers and refuses ones that make
// no sense, naming the field as the "Setup: Arm" window shows it.
#include "arm/servo.h"
#include "platform/uitext.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arm {

// Indices into the per-joint arrays, in the order of kJoints.
enum JointIndex : int { kBasis, kSchulter, kEllenbogen, kHandgelenk, kGreifer };
// The names of the joints as the controller's programs know them (the API, the
// profile's keys); jointName() is the name for the operator, in their language.
inline constexpr std::array<std::string_view, kJoints> kJointNames{"Basis", "Schulter", "Ellenbogen",
                                                                   "Handgelenk", "Greifer"};
platform::UiText jointName(int joint);

// One point of a calibration: a pulse width (µs) and the joint's value there,
// an angle in degrees, or for the Greifer the opening in mm.
struct CalibrationPoint {
    double pulse;
    double value;
};

// Two points define a straight line through them: values between and beyond the
// points follow it, so a joint is calibrated by reading two angles off the arm.
struct JointCalibration {
    CalibrationPoint first;
    CalibrationPoint second;

    double valueAt(double pulse) const;
    double pulseFor(double value) const;
};

// Lengths in mm between the joint axes, measured along each link.
struct ArmGeometry {
    double baseHeight; // "Sockelhöhe": table to shoulder axis
    double upperArm;   // "Oberarm": shoulder axis to elbow axis
    double forearm;    // "Unterarm": elbow axis to wrist axis
    double hand;       // "Hand": wrist axis to gripper tip
};

// A default-constructed profile is an AL5D-class arm: all joints at 1500 µs
// stand the upper arm up, the forearm and hand level and the gripper half open.
struct ArmProfile {
    ArmGeometry geometry{67.3, 146.1, 187.3, 100.0};
    std::array<JointCalibration, kJoints> calibration{{
        {{1500, 0}, {2500, 90}},   // Basis
        {{1500, 90}, {2500, 0}},   // Schulter
        {{1500, -90}, {2500, 0}},  // Ellenbogen
        {{1500, 0}, {2500, 90}},   // Handgelenk
        {{1000, 30}, {2000, 0}},   // Greifer, opening in mm
    }};
};

// One number of the profile: its key in a profile file and in velmora.ini (under
// kProfileGroup), and its name for labels and reasons. profileFields() lists every
// number once, so storing and reading a profile never miss one.
inline constexpr std::string_view kProfileGroup = "arm_profile";

class ProfileField {
public:
    ProfileField(std::string key, platform::UiText name, double ArmGeometry::*length);
    ProfileField(std::string key, platform::UiText name, int joint, int point, double CalibrationPoint::*part);

    const std::string &key() const { return keyText; }
    const platform::UiText &name() const { return nameText; }
    bool isLength() const { return length != nullptr; }
    double &of(ArmProfile &profile) const;
    double of(const ArmProfile &profile) const;

private:
    template <class Profile>
    auto &in(Profile &profile) const;

    std::string keyText;
    platform::UiText nameText;
    double ArmGeometry::*length = nullptr;
    int joint = 0;
    int point = 0;
    double CalibrationPoint::*part = nullptr;
};

// The geometry first, then per joint: point 1 pulse and value, point 2 pulse and
// value, e.g. "upper_arm_mm" ("Oberarm"), "schulter_point1_us" ("Schulter Punkt 1 (µs)"),
// "greifer_point2_mm" ("Greifer Punkt 2 (mm)").
const std::vector<ProfileField> &profileFields();

// Nothing when the profile makes sense; otherwise the first reason found, e.g.
// "Oberarm: muss größer als 0 mm sein". Refused: a number that is not finite, a
// length <= 0, two points of a joint with the same pulse width or the same value
// (the map could not be turned round).
std::optional<platform::UiText> checkProfile(const ArmProfile &profile);

} // namespace arm
