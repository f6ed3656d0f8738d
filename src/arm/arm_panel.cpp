#include "arm/arm_panel.h"

#include "arm/arm.h"

#include <QPushButton>

namespace arm {

ArmPanel::ArmPanel(const ArmWidgets &widgets, Arm &arm, QObject *parent) : QObject(parent), arm(arm)
{
    for (int i = 0; i < kJoints; ++i)
        jointPanels[i] = std::make_unique<JointPanel>(widgets.joints[i], arm, i, this);
    for (auto &joint : jointPanels) {
        std::vector<const JointPanel *> others;
        for (const auto &other : jointPanels) {
            if (other != joint)
                others.push_back(other.get());
        }
        joint->setNeighbours(others);
    }
    connect(widgets.btnArmParkPos, &QPushButton::clicked, this, &ArmPanel::btnArmParkPosClick);
    connect(widgets.btnArmMitte, &QPushButton::clicked, this, &ArmPanel::btnArmMitteClick);
}

ArmPanel::~ArmPanel() = default;

void ArmPanel::ShowServoSettings()
{
    for (auto &joint : jointPanels)
        joint->showSettings();
}

void ArmPanel::setChannelsEnabled(bool enabled)
{
    for (auto &joint : jointPanels)
        joint->setChannelEnabled(enabled);
}

void ArmPanel::btnArmParkPosClick() { arm.park(); }

void ArmPanel::btnArmMitteClick() { arm.centre(); }

} // namespace arm
