#pragma once
// The arm's controls: the five joint groups and the two buttons that move all
// joints at once. No two joints may share a channel, so each joint checks its
// choice against the others' lists.
#include "arm/joint_panel.h"
#include "arm/servo.h"

#include <QObject>
#include <array>
#include <memory>

class QPushButton;

namespace arm {

struct ArmWidgets {
    std::array<JointWidgets, kJoints> joints; // Basis .. Greifer
    QPushButton *btnArmParkPos;
    QPushButton *btnArmMitte;
};

class ArmPanel : public QObject {
    Q_OBJECT

public:
    ArmPanel(const ArmWidgets &widgets, Arm &arm, QObject *parent);
    ~ArmPanel() override;

    // Each joint's channel and limits as the arm holds them.
    void ShowServoSettings();
    // The channels stay fixed while link 1 is in use.
    void setChannelsEnabled(bool enabled);

private:
    void btnArmParkPosClick();
    void btnArmMitteClick();

    Arm &arm;
    std::array<std::unique_ptr<JointPanel>, kJoints> jointPanels;
};

} // namespace arm
