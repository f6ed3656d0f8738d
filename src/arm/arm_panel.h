#pragma once
// The arm's controls: the five joint groups and the two buttons that move all
// joints at once. No two joints may share a channel, so each joint checks its
// choice against the others' lists.
#include "arm/joint_panel.h"

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

using Joints = std::array<JointPanel *, kJoints>;

class ArmPanel : public QObject {
    Q_OBJECT

public:
    ArmPanel(const ArmWidgets &widgets, const Servos &servos, QObject *parent);
    ~ArmPanel() override;

    Joints joints() const;

    // Each joint's channel and limits as its Servo holds them.
    void ShowServoSettings();
    // The channels stay fixed while link 1 is in use.
    void setChannelsEnabled(bool enabled);

    void btnArmParkPosClick();
    void btnArmMitteClick();

signals:
    // Any joint's position or speed was set.
    void jointChanged();

private:
    std::array<std::unique_ptr<JointPanel>, kJoints> jointPanels;
};

} // namespace arm
