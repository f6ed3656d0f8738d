#pragma once
// A small live picture of the robot: a dial per arm joint and the chassis with its
// tracks, horn, hazard lights and measurements. It only reads the models.
#include <QWidget>

#include <array>

class QPainter;

namespace sim {

class ChassisModel;
class Ssc32Model;

class SimWindow : public QWidget {
public:
    SimWindow(const Ssc32Model &arm, const ChassisModel &chassis, std::array<int, 5> jointChannels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawJoint(QPainter &painter, const QRectF &area, const QString &name, int channel) const;
    void drawTrack(QPainter &painter, const QRectF &area, const QString &name, int speed) const;
    void drawLamp(QPainter &painter, const QRectF &area, const QString &name, bool on,
                  const QColor &colour) const;
    void drawChassis(QPainter &painter, const QRectF &area) const;

    const Ssc32Model &arm;
    const ChassisModel &chassis;
    std::array<int, 5> jointChannels;
};

} // namespace sim
