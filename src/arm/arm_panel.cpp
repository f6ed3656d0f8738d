#include "arm/arm_panel.h"

#include <QPushButton>

namespace arm {

ArmPanel::ArmPanel(const ArmWidgets &widgets, const Servos &servos, QObject *parent) : QObject(parent)
{
    for (int i = 0; i < kJoints; ++i)
        jointPanels[i] = std::make_unique<JointPanel>(widgets.joints[i], *servos[i], kParkPositions[i], this);
    for (auto &joint : jointPanels) {
        std::vector<const JointPanel *> others;
        for (const auto &other : jointPanels) {
            if (other != joint)
                others.push_back(other.get());
        }
        joint->setNeighbours(others);
        connect(joint.get(), &JointPanel::changed, this, &ArmPanel::jointChanged);
    }
    connect(widgets.btnArmParkPos, &QPushButton::clicked, this, &ArmPanel::btnArmParkPosClick);
    connect(widgets.btnArmMitte, &QPushButton::clicked, this, &ArmPanel::btnArmMitteClick);
}

ArmPanel::~ArmPanel() = default;

Joints ArmPanel::joints() const
{
    Joints all{};
    for (int i = 0; i < kJoints; ++i)
        all[i] = jointPanels[i].get();
    return all;
}

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

void ArmPanel::btnArmParkPosClick()
{
    for (auto &joint : jointPanels)
        joint->park();
}

void ArmPanel::btnArmMitteClick()
{
    for (auto &joint : jointPanels)
        joint->centre();
}

} // namespace arm
