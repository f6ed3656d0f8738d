#include "arm/kinematics_window.h"

#include "arm/arm.h"
#include "arm/arm_view.h"
#include "arm/decimal_comma.h"
#include "arm/move_executor.h"
#include "toolkit/translated.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace arm {

namespace {

// The five coordinates of a pose as the window shows them, in either form
// (translated where they are shown).
struct Coordinate {
    const char *cartesian;
    const char *cylindrical;
    const char *jogCartesian;
    const char *jogCylindrical;
    double limit; // the target field's range: -limit..limit
};
const Coordinate kCoordinates[] = {
    {"X (mm)", QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Radius (mm)"), "X", QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Radius"), 1000},
    {"Y (mm)", QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Winkel (°)"), "Y", QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Winkel"), 1000},
    {"Z (mm)", QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Höhe (mm)"), "Z", QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Höhe"), 1000},
    {QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Neigung (°)"), QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Neigung (°)"), QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Neigung"), QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Neigung"), 180},
    {QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Greifer (mm)"), QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Greifer (mm)"), QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Greifer"), QT_TRANSLATE_NOOP("arm::KinematicsWindow", "Greifer"), 100},
};
constexpr JogAxis kCartesianAxes[] = {JogAxis::X, JogAxis::Y, JogAxis::Z, JogAxis::Pitch, JogAxis::Gripper};
constexpr JogAxis kCylindricalAxes[] = {JogAxis::Radius, JogAxis::Angle, JogAxis::Z, JogAxis::Pitch,
                                        JogAxis::Gripper};
constexpr int kSteps[] = {1, 5, 10, 50};
constexpr int kDefaultSpeed = 50;
constexpr qint64 kRefreshMs = 200;
// Closer than this, a target is where the arm is and shows no ghost.
constexpr double kSamePlace = 0.05;

const QString kSpeedKey = QStringLiteral("kinematics/path_speed");
const QString kCylindricalKey = QStringLiteral("kinematics/cylindrical");

std::array<double, 5> coordinatesOf(const Pose &pose, bool cylindrical)
{
    if (!cylindrical)
        return {pose.tip.x, pose.tip.y, pose.tip.z, pose.pitch, pose.gripper};
    const CylinderPoint tip = toCylinder(pose.tip);
    return {tip.radius, tip.angle, tip.height, pose.pitch, pose.gripper};
}

Pose poseOf(const std::array<double, 5> &c, bool cylindrical)
{
    const Point tip = cylindrical ? toCartesian({c[0], c[1], c[2]}) : Point{c[0], c[1], c[2]};
    return {tip, c[3], c[4]};
}

QString coordinateName(const char *name) { return QCoreApplication::translate("arm::KinematicsWindow", name); }

bool samePlace(const Pose &a, const Pose &b)
{
    return distance(a.tip, b.tip) < kSamePlace && std::abs(halfTurn(a.pitch - b.pitch)) < kSamePlace
        && std::abs(a.gripper - b.gripper) < kSamePlace;
}

ArmFigure figureOf(const Kinematics &arm, const JointValues &values)
{
    return {arm.pointsOf(values), values[kBasis], values[kGreifer]};
}

} // namespace

KinematicsWindow::KinematicsWindow(MoveExecutor &executor, const Arm &arm, const settings::ProgramLocation &files)
    : executor(executor),
      stored(files),
      sideView(new ArmView(ArmView::Projection::Side, this)),
      aboveView(new ArmView(ArmView::Projection::Above, this)),
      cartesianChoice(new QRadioButton(tr("kartesisch"), this)),
      cylindricalChoice(new QRadioButton(tr("zylindrisch"), this)),
      speedField(new QSpinBox(this)),
      driveButton(new QPushButton(tr("&Anfahren"), this)),
      stopButton(new QPushButton(tr("S&topp"), this)),
      stepChoice(new QComboBox(this)),
      statusLine(new QLabel(this)),
      refreshSoon(this)
{
    setWindowTitle(tr("Kinematik"));
    resize(940, 660);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setAccessibleName(tr("Zustand"));
    auto *views = new QVBoxLayout;
    views->addWidget(sideView, 1);
    views->addWidget(aboveView, 1);
    auto *controls = new QVBoxLayout;
    controls->addWidget(buildPose());
    controls->addWidget(buildJog());
    controls->addStretch(1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(views, 1);
    columns->addLayout(controls);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(statusLine);

    refreshSoon.setSingleShot(true);
    connect(&refreshSoon, &QTimer::timeout, this, &KinematicsWindow::refresh);
    connect(&arm, &Arm::positionSet, this, [this] { scheduleRefresh(false); });
    connect(&arm, &Arm::limitsSet, this, [this] { scheduleRefresh(true); });
    connect(&executor, &MoveExecutor::profileChanged, this, [this] { scheduleRefresh(true); });
    restoreChoices();
    connectControls();
    targetFields[0]->setFocus();
}

KinematicsWindow::~KinematicsWindow() = default;

// The pose as commanded beside the target's fields, row by row, then how to get there.
QWidget *KinematicsWindow::buildPose()
{
    auto *box = new QGroupBox(tr("Position und Ziel"), this);
    auto *grid = new QGridLayout(box);
    grid->addWidget(new QLabel(tr("Position"), box), 0, 1);
    grid->addWidget(new QLabel(tr("Ziel"), box), 0, 2);
    for (int i = 0; i < 5; ++i) {
        coordinateLabels[i] = new QLabel(box);
        readOuts[i] = new QLabel(box);
        readOuts[i]->setObjectName(QStringLiteral("readOut%1").arg(i));
        readOuts[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A new value repaints the label alone: it is opaque, and its size
        // stays, so neither its group nor the layout has to follow.
        readOuts[i]->setAutoFillBackground(true);
        readOuts[i]->setBackgroundRole(QPalette::Base);
        readOuts[i]->setFrameShape(QFrame::StyledPanel);
        readOuts[i]->setMargin(2);
        readOuts[i]->setFixedSize(readOuts[i]->fontMetrics().horizontalAdvance(QStringLiteral("-0000,00")),
                                  readOuts[i]->sizeHint().height());
        auto *field = new QDoubleSpinBox(box);
        field->setObjectName(QStringLiteral("target%1").arg(i));
        field->setLocale(decimalComma());
        field->setDecimals(1);
        field->setRange(-kCoordinates[i].limit, kCoordinates[i].limit);
        coordinateLabels[i]->setBuddy(field);
        targetFields[i] = field;
        grid->addWidget(coordinateLabels[i], i + 1, 0);
        grid->addWidget(readOuts[i], i + 1, 1);
        grid->addWidget(field, i + 1, 2);
    }
    auto *speedLabel = new QLabel(tr("&Bahngeschwindigkeit (mm/s)"), box);
    speedLabel->setBuddy(speedField);
    speedField->setRange(int(kMinPathSpeed), int(kMaxPathSpeed));
    grid->addWidget(speedLabel, 6, 0, 1, 2);
    grid->addWidget(speedField, 6, 2);
    auto *choices = new QHBoxLayout;
    choices->addWidget(cartesianChoice);
    choices->addWidget(cylindricalChoice);
    grid->addLayout(choices, 7, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(driveButton);
    buttons->addWidget(stopButton);
    grid->addLayout(buttons, 8, 0, 1, 3);
    return box;
}

QWidget *KinematicsWindow::buildJog()
{
    auto *box = new QGroupBox(tr("Tippen"), this);
    auto *grid = new QGridLayout(box);
    for (int axis = 0; axis < 5; ++axis) {
        for (int side = 0; side < 2; ++side) {
            auto *button = new QPushButton(box);
            button->setAutoDefault(false);
            jogButtons[axis][side] = button;
            grid->addWidget(button, axis, side);
        }
    }
    for (const int step : kSteps)
        stepChoice->addItem(QStringLiteral("%1 mm").arg(step), step);
    stepChoice->setToolTip(tr("Ein Tippen bewegt so weit; Neigung und Winkel um so viele Grad"));
    auto *stepLabel = new QLabel(tr("&Schrittweite"), box);
    stepLabel->setBuddy(stepChoice);
    grid->addWidget(stepLabel, 5, 0);
    grid->addWidget(stepChoice, 5, 1);
    return box;
}

void KinematicsWindow::connectControls()
{
    connect(driveButton, &QPushButton::clicked, this, &KinematicsWindow::driveToTarget);
    connect(stopButton, &QPushButton::clicked, this, [this] { executor.stop(UI_TEXT("arm::KinematicsWindow", "Stopp")); });
    for (int axis = 0; axis < 5; ++axis) {
        connect(jogButtons[axis][0], &QPushButton::clicked, this, [this, axis] { jogPressed(axis, -1); });
        connect(jogButtons[axis][1], &QPushButton::clicked, this, [this, axis] { jogPressed(axis, 1); });
        connect(targetFields[axis], &QDoubleSpinBox::valueChanged, this, [this] { scheduleRefresh(true); });
    }
    connect(cylindricalChoice, &QRadioButton::toggled, this, [this](bool on) {
        stored.setFlag(kCylindricalKey, on);
        chooseCoordinates();
    });
    connect(speedField, &QSpinBox::valueChanged, this, [this](int speed) { stored.setNumber(kSpeedKey, speed); });
    connect(&executor, &MoveExecutor::started, this, [this] { showMoveState(tr("Fährt")); });
    connect(&executor, &MoveExecutor::finished, this, [this] { showMoveState(tr("Ziel erreicht")); });
    connect(&executor, &MoveExecutor::stopped, this,
            [this](const platform::UiText &why) { showMoveState(tr("Angehalten: %1").arg(toolkit::translated(why))); });
    connect(&executor, &MoveExecutor::refused, this,
            [this](const platform::UiText &why) { showMoveState(toolkit::translated(why)); });
}

// Before the controls are connected: what is restored is not stored again.
void KinematicsWindow::restoreChoices()
{
    speedField->setValue(int(stored.number(kSpeedKey, kDefaultSpeed, kMinPathSpeed, kMaxPathSpeed)));
    (stored.flag(kCylindricalKey, false) ? cylindricalChoice : cartesianChoice)->setChecked(true);
    chooseCoordinates();
}

double KinematicsWindow::pathSpeed() const { return speedField->value(); }

bool KinematicsWindow::cylindrical() const { return cylindricalChoice->isChecked(); }

void KinematicsWindow::driveToTarget() { executor.moveTo(targetFromFields(), pathSpeed()); }

void KinematicsWindow::jogPressed(int axis, int direction)
{
    const JogAxis jogAxis = cylindrical() ? kCylindricalAxes[axis] : kCartesianAxes[axis];
    executor.jog(jogAxis, direction * stepChoice->currentData().toDouble(), pathSpeed());
}

// The fields keep the target, now in the other form.
void KinematicsWindow::chooseCoordinates()
{
    const bool wasCylindrical = coordinateLabels[0]->text() == coordinateName(kCoordinates[0].cylindrical);
    const Pose target = targetFromFields(wasCylindrical);
    const bool nowCylindrical = cylindrical();
    for (int i = 0; i < 5; ++i) {
        const Coordinate &c = kCoordinates[i];
        coordinateLabels[i]->setText(coordinateName(nowCylindrical ? c.cylindrical : c.cartesian));
        readOuts[i]->setAccessibleName(tr("%1, Position").arg(coordinateLabels[i]->text()));
        const QString name = coordinateName(nowCylindrical ? c.jogCylindrical : c.jogCartesian);
        jogButtons[i][0]->setText(name + QStringLiteral("−"));
        jogButtons[i][1]->setText(name + QStringLiteral("+"));
    }
    showTargetInFields(target);
    scheduleRefresh(true);
}

void KinematicsWindow::showMoveState(const QString &text)
{
    statusLine->setText(text);
    scheduleRefresh(true);
}

Pose KinematicsWindow::targetFromFields() const { return targetFromFields(cylindrical()); }

Pose KinematicsWindow::targetFromFields(bool inCylindrical) const
{
    std::array<double, 5> values;
    for (int i = 0; i < 5; ++i)
        values[i] = targetFields[i]->value();
    return poseOf(values, inCylindrical);
}

void KinematicsWindow::showTargetInFields(const Pose &pose)
{
    const std::array<double, 5> values = coordinatesOf(pose, cylindrical());
    for (int i = 0; i < 5; ++i) {
        const QSignalBlocker quiet(targetFields[i]);
        targetFields[i]->setValue(values[i]);
    }
}

// At most five refreshes a second: a fast move sends several pieces a tick of
// the arm cycle, and the figures change faster than anyone reads them.
void KinematicsWindow::scheduleRefresh(bool everything)
{
    refreshEverything = refreshEverything || everything;
    if (!isVisible() || refreshSoon.isActive())
        return;
    const qint64 since = lastRefresh.isValid() ? lastRefresh.elapsed() : kRefreshMs;
    refreshSoon.start(int(std::max<qint64>(0, kRefreshMs - since)));
}

void KinematicsWindow::refresh()
{
    lastRefresh.start();
    const CommandPulses pulses = executor.commandedPulses();
    if (!refreshEverything && pulses == shownPulses)
        return;
    refreshEverything = false;
    shownPulses = pulses;

    const Kinematics arm = executor.kinematics();
    const JointValues values = arm.valuesAt(toJointPulses(pulses));
    const Pose pose = arm.poseOf(values);
    const std::array<double, 5> shown = coordinatesOf(pose, cylindrical());
    for (int i = 0; i < 5; ++i)
        readOuts[i]->setText(withComma(shown[i], 1));

    const TravelLimits &limits = arm.limits();
    const JointCalibration &basis = arm.profile().calibration[kBasis];
    const double basisA = basis.valueAt(limits[kBasis].min);
    const double basisB = basis.valueAt(limits[kBasis].max);
    ArmPicture picture{arm.profile().geometry, std::min(basisA, basisB), std::max(basisA, basisB),
                       figureOf(arm, values), std::nullopt, std::nullopt};
    const Pose target = executor.target().value_or(targetFromFields());
    if (!samePlace(target, pose)) {
        const Solution solution = arm.solve(target, values[kBasis]);
        if (solution.solved())
            picture.ghost = figureOf(arm, solution.values);
        else
            picture.missedTarget = target.tip;
    }
    sideView->setPicture(picture);
    aboveView->setPicture(picture);
}

void KinematicsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange)
        emit activeChanged(isActiveWindow());
    QWidget::changeEvent(event);
}

// The target fields start from where the arm stands when the window first shows.
void KinematicsWindow::showEvent(QShowEvent *event)
{
    if (!shownBefore) {
        shownBefore = true;
        showTargetInFields(executor.commandedPose());
    }
    QWidget::showEvent(event);
    scheduleRefresh(true);
}

void KinematicsWindow::hideEvent(QHideEvent *event)
{
    refreshSoon.stop();
    QWidget::hideEvent(event);
}

} // namespace arm
