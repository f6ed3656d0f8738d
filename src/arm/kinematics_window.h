#pragma once
// The window "Kinematik": the arm drawn from the side and from above as its
// joints are commanded, the gripper's pose read out, a target typed and driven
// to in a straight line ("Anfahren", "Stopp"), and the jog buttons, in
// cartesian or cylindrical coordinates. It moves the arm through the move
// executor; refusals and why a move stopped show in its status line. While it
// is hidden it does nothing, and shown it repaints only when the arm, its
// limits, the profile or the target change.
#include "arm/kinematics.h"
#include "settings/extension_settings.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <array>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace arm {

class Arm;
class ArmView;
class MoveExecutor;

class KinematicsWindow : public QWidget {
    Q_OBJECT

public:
    // No parent: it stays usable while other windows lock the main window.
    KinematicsWindow(MoveExecutor &executor, const Arm &arm, const settings::ProgramLocation &files);
    ~KinematicsWindow() override;

    // "Bahngeschwindigkeit (mm/s)" and the coordinates chosen, for the gamepad's jog.
    double pathSpeed() const;
    bool cylindrical() const;

signals:
    void activeChanged(bool active);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *buildPose();
    QWidget *buildJog();
    void connectControls();
    void restoreChoices();

    void driveToTarget();
    void jogPressed(int axis, int direction);
    void chooseCoordinates();
    void showMoveState(const QString &text);

    // The arm's read-out and views follow soon after a change, once for a batch
    // of changes; a change of anything but the joints' positions redraws even
    // when these stand still.
    void scheduleRefresh(bool everything);
    void refresh();
    Pose targetFromFields() const;
    // The fields read as the coordinates they showed, cylindrical or not.
    Pose targetFromFields(bool inCylindrical) const;
    void showTargetInFields(const Pose &pose);

    MoveExecutor &executor;
    settings::ExtensionSettings stored;
    ArmView *sideView;
    ArmView *aboveView;
    std::array<QLabel *, 5> coordinateLabels{};
    std::array<QLabel *, 5> readOuts{};
    std::array<QDoubleSpinBox *, 5> targetFields{};
    QRadioButton *cartesianChoice;
    QRadioButton *cylindricalChoice;
    QSpinBox *speedField;
    QPushButton *driveButton;
    QPushButton *stopButton;
    std::array<std::array<QPushButton *, 2>, 5> jogButtons{};
    QComboBox *stepChoice;
    QLabel *statusLine;
    QTimer refreshSoon;
    QElapsedTimer lastRefresh;
    bool refreshEverything = true;
    CommandPulses shownPulses{};
    bool shownBefore = false;
};

} // namespace arm
