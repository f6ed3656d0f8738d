#include "arm/arm_view.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace arm {

namespace {

const QColor kTable(222, 205, 170);
const QColor kRegion(120, 190, 120, 70);
const QColor kArm(0, 90, 180);
const QColor kGhost(230, 120, 0, 170);
const QColor kMissed(200, 0, 0);
constexpr double kMargin = 8;    // px
constexpr double kJawLength = 25; // mm

bool samePoint(const Point &a, const Point &b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool sameFigure(const ArmFigure &a, const ArmFigure &b)
{
    return samePoint(a.points.elbow, b.points.elbow) && samePoint(a.points.wrist, b.points.wrist)
        && samePoint(a.points.tip, b.points.tip) && a.basis == b.basis && a.gripper == b.gripper;
}

template <typename T, typename Same>
bool sameOptional(const std::optional<T> &a, const std::optional<T> &b, Same same)
{
    return a.has_value() == b.has_value() && (!a || same(*a, *b));
}

bool sameMarks(const ArmPicture &a, const ArmPicture &b)
{
    return sameOptional(a.ghost, b.ghost, sameFigure) && sameOptional(a.missedTarget, b.missedTarget, samePoint);
}

} // namespace

ArmView::ArmView(Projection projection, QWidget *parent) : QWidget(parent), projection(projection)
{
    setMinimumSize(260, 220);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // It covers all of itself: nothing beneath it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(projection == Projection::Side ? QCoreApplication::translate("arm::ArmView", "Seitenansicht")
                                                     : QCoreApplication::translate("arm::ArmView", "Draufsicht"));
}

// The ghost and the cross are part of the backdrop: they change seldom. While
// the backdrop stays, only where the arm was and is is painted again.
void ArmView::setPicture(const ArmPicture &newPicture)
{
    const bool drawn = picture && !backdrop.isNull();
    const QPolygonF armBefore = drawn ? figurePoints(picture->arm) : QPolygonF();
    if (picture && !sameMarks(*picture, newPicture))
        ++marksDrawn;
    picture = newPicture;
    if (!drawn || backdropFor(pitchShown()) != backdropKey)
        update();
    else
        update(QRegion(around(armBefore)) | around(figurePoints(picture->arm)));
}

double ArmView::pitchShown() const
{
    const QPointF hand = onPlane(picture->arm.points.tip, picture->arm.basis)
        - onPlane(picture->arm.points.wrist, picture->arm.basis);
    return std::round(2 * toDegrees(std::atan2(hand.y(), hand.x()))) / 2;
}

std::array<double, 10> ArmView::backdropFor(double pitch) const
{
    const ArmGeometry &g = picture->geometry;
    return {double(width()), double(height()), devicePixelRatioF(), g.baseHeight, g.upperArm, g.forearm, g.hand,
            projection == Projection::Side ? pitch : picture->basisFrom, picture->basisTo, double(marksDrawn)};
}

QPointF ArmView::onPlane(const Point &point, double basis) const
{
    if (projection == Projection::Above)
        return {-point.y, point.x};
    const double turn = toRadians(basis);
    return {point.x * std::cos(turn) + point.y * std::sin(turn), point.z};
}

QPolygonF ArmView::figurePoints(const ArmFigure &figure) const
{
    QPolygonF points;
    const JointPoints &p = figure.points;
    for (const Point &axis : {p.base, p.shoulder, p.elbow, p.wrist, p.tip})
        points << toWidget.map(onPlane(axis, figure.basis));
    return points;
}

// With room for the pens, the joints' rings and the jaws.
// With room for the pens, the joints' rings and the jaws.
QRect ArmView::around(const QPolygonF &axes) const
{
    if (axes.isEmpty())
        return {};
    const double room = 12 + (kJawLength + std::max(picture->arm.gripper, 0.0)) * toWidget.m11();
    return axes.boundingRect().adjusted(-room, -room, room, room).toAlignedRect();
}

void ArmView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!picture) {
        painter.fillRect(rect(), palette().base());
        return;
    }
    const double pitch = pitchShown();
    if (backdropFor(pitch) != backdropKey) {
        backdropKey = backdropFor(pitch);
        drawBackdrop(pitch);
    }
    painter.drawPixmap(0, 0, backdrop);
    painter.setRenderHint(QPainter::Antialiasing);
    drawFigure(painter, picture->arm, QPen(kArm, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void ArmView::drawBackdrop(double pitch)
{
    const ArmGeometry &g = picture->geometry;
    const double reach = g.upperArm + g.forearm + g.hand;
    // The space the arm can sweep, in mm on the view's plane, y up.
    const QRectF space = projection == Projection::Side
        ? QRectF(QPointF(-0.35 * reach, -0.12 * reach), QPointF(1.05 * reach, g.baseHeight + 1.05 * reach))
        : QRectF(QPointF(-1.05 * reach, -0.35 * reach), QPointF(1.05 * reach, 1.05 * reach));
    const QRectF area = QRectF(rect()).adjusted(kMargin, kMargin + 14, -kMargin, -kMargin);
    const double scale = std::min(area.width() / space.width(), area.height() / space.height());
    toWidget = QTransform::fromTranslate(-space.center().x(), -space.center().y())
        * QTransform::fromScale(scale, -scale) * QTransform::fromTranslate(area.center().x(), area.center().y());

    backdrop = QPixmap(size() * devicePixelRatioF());
    backdrop.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(&backdrop);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    painter.save();
    painter.setTransform(toWidget);
    if (projection == Projection::Side) // the table, seen edge on
        painter.fillRect(QRectF(QPointF(space.left(), space.top()), QPointF(space.right(), 0)), kTable);
    drawRegion(painter, pitch);
    painter.restore();
    painter.setPen(palette().text().color());
    painter.drawText(QRectF(rect()).adjusted(kMargin, 2, -kMargin, 0), Qt::AlignLeft | Qt::AlignTop,
                     projection == Projection::Side ? QCoreApplication::translate("arm::ArmView", "Seitenansicht (Reichweite gegen Höhe)")
                                                    : QCoreApplication::translate("arm::ArmView", "Draufsicht (x nach oben, y nach links)"));
    if (picture->ghost)
        drawFigure(painter, *picture->ghost, QPen(kGhost, 5, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
    if (picture->missedTarget) {
        const QPointF at = toWidget.map(onPlane(*picture->missedTarget, picture->arm.basis));
        painter.setPen(QPen(kMissed, 3));
        painter.drawLine(at + QPointF(-7, -7), at + QPointF(7, 7));
        painter.drawLine(at + QPointF(-7, 7), at + QPointF(7, -7));
    }
}

// From the side: where the tip can go with the hand at this pitch, above the
// table (a ring around the shoulder, moved by the hand). From above: as far as
// the stretched arm reaches, over the Basis' travel.
void ArmView::drawRegion(QPainter &painter, double pitch) const
{
    const ArmGeometry &g = picture->geometry;
    QPainterPath region;
    if (projection == Projection::Side) {
        const QPointF centre = QPointF(0, g.baseHeight)
            + g.hand * QPointF(std::cos(toRadians(pitch)), std::sin(toRadians(pitch)));
        const double outer = g.upperArm + g.forearm;
        const double inner = std::abs(g.upperArm - g.forearm);
        region.addEllipse(centre, outer, outer);
        region.addEllipse(centre, inner, inner);
        painter.setClipRect(QRectF(-2 * outer, 0, 4 * outer, g.baseHeight + g.hand + 2 * outer));
    } else {
        const double reach = g.upperArm + g.forearm + g.hand;
        const QRectF disc(-reach, -reach, 2 * reach, 2 * reach);
        // x points up the view: a Basis angle a lies at 90° + a, counted the other way round in y-up space.
        region.moveTo(0, 0);
        region.arcTo(disc, -(90 + picture->basisFrom), -(picture->basisTo - picture->basisFrom));
        region.closeSubpath();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRegion);
    painter.drawPath(region);
}

// Lines of the pen's width in pixels: the painter draws in widget coordinates.
void ArmView::drawFigure(QPainter &painter, const ArmFigure &figure, const QPen &pen) const
{
    const JointPoints &p = figure.points;
    const auto at = [&](const Point &point) { return toWidget.map(onPlane(point, figure.basis)); };
    const QPointF axes[] = {at(p.base), at(p.shoulder), at(p.elbow), at(p.wrist), at(p.tip)};
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(axes, int(std::size(axes)));
    if (projection == Projection::Above) {
        // The jaws, open as wide as the gripper, across the hand.
        const QPointF along = onPlane(p.tip, figure.basis) - onPlane(p.wrist, figure.basis);
        const double length = std::hypot(along.x(), along.y());
        if (length > 1e-6) {
            const QPointF unit = along / length;
            const QPointF across(-unit.y(), unit.x());
            const QPointF tip = onPlane(p.tip, figure.basis);
            for (const double side : {-0.5, 0.5}) {
                const QPointF jaw = tip + across * (side * std::max(figure.gripper, 0.0));
                painter.drawLine(toWidget.map(jaw), toWidget.map(jaw + unit * kJawLength));
            }
        }
    }
    painter.setPen(QPen(pen.color(), 1));
    painter.setBrush(palette().base());
    for (const QPointF &axis : axes)
        painter.drawEllipse(axis, pen.widthF() / 2 + 2, pen.widthF() / 2 + 2);
}

} // namespace arm
