#pragma once
// A small live picture of the robot: the arm drawn from the side and from above
// as its joints' pulse widths stand, a dial per arm joint, and the chassis with
// its tracks, horn, hazard lights and measurements. It only reads the models.
#include <QWidget>

#include <array>

class QPainter;

namespace sim {

class ArmShape;
class ChassisModel;
class Ssc32Model;

class SimWindow : public QWidget {
public:
    SimWindow(const Ssc32Model &arm, const ArmShape &shape, const ChassisModel &chassis);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawArm(QPainter &painter, const QRectF &area) const;
    void drawJoint(QPainter &painter, const QRectF &area, const QString &name, int channel) const;
    void drawTrack(QPainter &painter, const QRectF &area, const QString &name, int speed) const;
    void drawLamp(QPainter &painter, const QRectF &area, const QString &name, bool on,
                  const QColor &colour) const;
    void drawChassis(QPainter &painter, const QRectF &area) const;

    const Ssc32Model &arm;
    const ArmShape &shape;
    const ChassisModel &chassis;
};

} // namespace sim
