#include "sim_window.h"

#include "arm_shape.h"
#include "chassis_model.h"
#include "ssc32_model.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <functional>
#include <optional>

namespace sim {

namespace {

constexpr int kArmWidth = 440;
constexpr int kJointWidth = 110;
constexpr int kChassisWidth = 260;
constexpr int kHeight = 220;

// Pulse width 500..2500 µs swings the needle over the upper half circle, 1500 upright.
qreal needleDegrees(int pulse)
{
    return 90.0 - (pulse - 1500) * 90.0 / 1000.0;
}

} // namespace

SimWindow::SimWindow(const Ssc32Model &arm, const ArmShape &shape, const ChassisModel &chassis)
    : arm(arm), shape(shape), chassis(chassis)
{
    setWindowTitle(QStringLiteral("velmora-sim"));
    setMinimumSize(kArmWidth + arm::kJoints * kJointWidth + kChassisWidth, kHeight);
    resize(minimumSize());
}

void SimWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().window());
    drawArm(painter, QRectF(0, 0, kArmWidth, height()));
    const qreal jointWidth = qreal(width() - kArmWidth - kChassisWidth) / arm::kJoints;
    for (int i = 0; i < arm::kJoints; ++i) {
        const std::string_view name = arm::kJointNames[std::size_t(i)];
        drawJoint(painter, QRectF(kArmWidth + i * jointWidth, 0, jointWidth, height()),
                  QString::fromLatin1(name.data(), qsizetype(name.size())), shape.channels()[std::size_t(i)]);
    }
    drawChassis(painter, QRectF(width() - kChassisWidth, 0, kChassisWidth, height()));
}

// From the side in the arm's own plane (reach against height, the table below)
// and from above (x up, y to the left), each scaled to what the arm can reach.
void SimWindow::drawArm(QPainter &painter, const QRectF &area) const
{
    painter.setPen(palette().text().color());
    painter.drawText(QRectF(area.left(), area.top() + 4, area.width(), 20), Qt::AlignCenter,
                     QStringLiteral("Arm von der Seite und von oben"));
    const std::optional<arm::JointPulses> pulses = shape.pulsesOf(arm);
    if (!pulses) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("noch nicht alle Gelenke angesteuert"));
        return;
    }
    const arm::Kinematics &geometry = shape.kinematics();
    const arm::JointValues values = geometry.valuesAt(*pulses);
    const arm::JointPoints p = geometry.pointsOf(values);
    const arm::ArmGeometry &g = geometry.profile().geometry;
    const double reach = g.upperArm + g.forearm + g.hand;
    const double turn = qDegreesToRadians(values[0]);
    const auto side = [&](const arm::Point &q) { return QPointF(q.x * qCos(turn) + q.y * qSin(turn), q.z); };
    const auto above = [](const arm::Point &q) { return QPointF(-q.y, q.x); };
    const struct {
        QRectF space; // mm, y up
        std::function<QPointF(const arm::Point &)> onPlane;
        QRectF box;
    } views[] = {
        {QRectF(QPointF(-0.35 * reach, -0.1 * reach), QPointF(1.05 * reach, g.baseHeight + 1.05 * reach)), side,
         QRectF(area.left() + 6, area.top() + 26, area.width() / 2 - 12, area.height() - 32)},
        {QRectF(QPointF(-1.05 * reach, -0.35 * reach), QPointF(1.05 * reach, 1.05 * reach)), above,
         QRectF(area.center().x() + 6, area.top() + 26, area.width() / 2 - 12, area.height() - 32)},
    };
    for (const auto &view : views) {
        const double scale = std::min(view.box.width() / view.space.width(), view.box.height() / view.space.height());
        const QTransform toBox = QTransform::fromTranslate(-view.space.center().x(), -view.space.center().y())
            * QTransform::fromScale(scale, -scale)
            * QTransform::fromTranslate(view.box.center().x(), view.box.center().y());
        painter.setPen(QPen(Qt::gray, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(view.box);
        if (&view == &views[0]) // the table
            painter.drawLine(toBox.map(QPointF(view.space.left(), 0)), toBox.map(QPointF(view.space.right(), 0)));
        const QPointF axes[] = {toBox.map(view.onPlane(p.base)), toBox.map(view.onPlane(p.shoulder)),
                                toBox.map(view.onPlane(p.elbow)), toBox.map(view.onPlane(p.wrist)),
                                toBox.map(view.onPlane(p.tip))};
        painter.setPen(QPen(QColor(0, 110, 200), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(axes, int(std::size(axes)));
    }
}

void SimWindow::drawJoint(QPainter &painter, const QRectF &area, const QString &name,
                          int channel) const
{
    const qreal radius = std::min(area.width(), area.height()) / 2 - 14;
    const QPointF hub(area.center().x(), area.top() + 30 + radius);
    painter.setPen(palette().text().color());
    painter.drawText(QRectF(area.left(), area.top() + 4, area.width(), 20), Qt::AlignCenter,
                     QStringLiteral("%1 #%2").arg(name).arg(channel));
    painter.setPen(QPen(Qt::gray, 2));
    painter.drawArc(QRectF(hub.x() - radius, hub.y() - radius, 2 * radius, 2 * radius), 0, 180 * 16);

    const int pulse = arm.position(channel);
    QString reading = QStringLiteral("aus");
    if (arm.inUse(channel)) {
        const qreal angle = qDegreesToRadians(needleDegrees(pulse));
        const QPointF tip(hub.x() + radius * qCos(angle), hub.y() - radius * qSin(angle));
        const bool moving = pulse != arm.target(channel);
        painter.setPen(QPen(moving ? QColor(230, 120, 0) : QColor(0, 110, 200), 5, Qt::SolidLine,
                            Qt::RoundCap));
        painter.drawLine(hub, tip);
        reading = QStringLiteral("%1 µs").arg(pulse);
    }
    painter.setPen(palette().text().color());
    painter.drawText(QRectF(area.left(), hub.y() + 8, area.width(), 20), Qt::AlignCenter, reading);
}

void SimWindow::drawChassis(QPainter &painter, const QRectF &area) const
{
    const qreal trackWidth = 40;
    drawTrack(painter, QRectF(area.left() + 10, area.top() + 10, trackWidth, 150),
              QStringLiteral("L"), chassis.leftSpeed());
    drawTrack(painter, QRectF(area.left() + 20 + trackWidth, area.top() + 10, trackWidth, 150),
              QStringLiteral("R"), chassis.rightSpeed());

    const qreal textLeft = area.left() + 30 + 2 * trackWidth;
    drawLamp(painter, QRectF(textLeft, area.top() + 12, 150, 22), QStringLiteral("Hupe"),
             chassis.horn(), Qt::yellow);
    drawLamp(painter, QRectF(textLeft, area.top() + 40, 150, 22), QStringLiteral("Warnblink"),
             chassis.hazard(), QColor(255, 140, 0));
    painter.setPen(palette().text().color());
    const QString readings =
        QStringLiteral("Abstand %1 cm\nBatterie %2 V\nTemperatur %3 °C")
            .arg(chassis.distanceCm())
            .arg(chassis.batteryTenthsOfVolt() / 10.0, 0, 'f', 1)
            .arg(chassis.temperatureCelsius());
    painter.drawText(QRectF(textLeft, area.top() + 75, 150, 80), Qt::AlignLeft | Qt::AlignTop,
                     readings);
}

// A bar from the middle line: up (green) forward, down (red) backward.
void SimWindow::drawTrack(QPainter &painter, const QRectF &area, const QString &name,
                          int speed) const
{
    painter.setPen(Qt::gray);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    const qreal half = area.height() / 2;
    const qreal bar = half * speed / ChassisModel::kMaxTrackSpeed;
    const QRectF fill(area.left() + 1, area.center().y() - std::max<qreal>(bar, 0), area.width() - 2,
                      std::abs(bar));
    painter.fillRect(fill, speed >= 0 ? QColor(0, 170, 0) : QColor(200, 0, 0));
    painter.drawLine(QPointF(area.left(), area.center().y()), QPointF(area.right(), area.center().y()));
    painter.setPen(palette().text().color());
    painter.drawText(QRectF(area.left() - 10, area.bottom() + 4, area.width() + 20, 40),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("%1\n%2").arg(name).arg(speed));
}

void SimWindow::drawLamp(QPainter &painter, const QRectF &area, const QString &name, bool on,
                         const QColor &colour) const
{
    painter.setPen(Qt::gray);
    painter.setBrush(on ? colour : QColor(Qt::lightGray));
    painter.drawEllipse(QRectF(area.left(), area.top() + 2, area.height() - 4, area.height() - 4));
    painter.setPen(palette().text().color());
    painter.drawText(area.adjusted(area.height() + 4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, name);
}

} // namespace sim
