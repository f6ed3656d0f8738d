#pragma once
// The arm drawn as its joints stand, seen from the side (in the arm's own
// plane: reach from the base axis against height) or from above, with the
// table, the region the tip can reach and a target as a ghost. It paints what
// it was last given; the window gives it a picture only when something changed.
#include "arm/kinematics.h"

#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

namespace arm {

// One arm as drawn: its axes, the direction of its plane and the gripper's opening.
struct ArmFigure {
    JointPoints points;
    double basis;   // degrees
    double gripper; // mm
};

struct ArmPicture {
    ArmGeometry geometry;
    // The Basis' travel, as angles: the region seen from above.
    double basisFrom;
    double basisTo;
    ArmFigure arm;
    std::optional<ArmFigure> ghost;
    // A target that no joint angles reach, drawn as a cross.
    std::optional<Point> missedTarget;
};

class ArmView : public QWidget {
public:
    enum class Projection { Side, Above };
    ArmView(Projection projection, QWidget *parent = nullptr);

    void setPicture(const ArmPicture &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // A point of the arm on the view's plane, in mm: (reach, height) from the
    // side in the plane turned to `basis`, (-y, x) from above.
    QPointF onPlane(const Point &point, double basis) const;
    // The pitch the side view's reach is drawn for, to half a degree: whole µs
    // wobble it a little on every piece of a move.
    double pitchShown() const;
    // What the backdrop is drawn for: it is drawn again when this changes.
    std::array<double, 10> backdropFor(double pitch) const;
    QPolygonF figurePoints(const ArmFigure &figure) const;
    QRect around(const QPolygonF &axes) const;
    void drawBackdrop(double pitch);
    void drawRegion(QPainter &painter, double pitch) const;
    void drawFigure(QPainter &painter, const ArmFigure &figure, const QPen &pen) const;

    const Projection projection;
    std::optional<ArmPicture> picture;
    // Maps mm on the view's plane to the widget, set with the backdrop.
    QTransform toWidget;
    QPixmap backdrop;
    std::array<double, 10> backdropKey{};
    // Counts the changes of the ghost and the cross, which the backdrop holds.
    int marksDrawn = 0;
};

} // namespace arm
