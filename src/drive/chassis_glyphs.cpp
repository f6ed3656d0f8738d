#include "drive/chassis_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace drive {
namespace {

constexpr int kSize = 24;

// An arrow pointing up, drawn in a 24 x 24 box; other directions rotate it.
QPainterPath arrowUp()
{
    QPainterPath path;
    path.moveTo(12, 2);
    path.lineTo(21, 12);
    path.lineTo(15, 12);
    path.lineTo(15, 22);
    path.lineTo(9, 22);
    path.lineTo(9, 12);
    path.lineTo(3, 12);
    path.closeSubpath();
    return path;
}

void drawRotated(QPainter &painter, const QPainterPath &path, qreal degrees)
{
    painter.save();
    painter.translate(kSize / 2.0, kSize / 2.0);
    painter.rotate(degrees);
    painter.translate(-kSize / 2.0, -kSize / 2.0);
    painter.drawPath(path);
    painter.restore();
}

void drawTurn(QPainter &painter, bool left)
{
    painter.save();
    if (left) {
        painter.translate(kSize, 0);
        painter.scale(-1, 1);
    }
    const QPen pen(painter.brush().color(), 3);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRect(4, 5, 15, 15), 90 * 16, -270 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pen.color());
    painter.drawPolygon(QPolygon({QPoint(11, 0), QPoint(17, 5), QPoint(11, 10)}));
    painter.restore();
}

void drawGlyph(QPainter &painter, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Forward: drawRotated(painter, arrowUp(), 0); break;
    case Glyph::Backward: drawRotated(painter, arrowUp(), 180); break;
    case Glyph::SharpLeft: drawRotated(painter, arrowUp(), -90); break;
    case Glyph::SharpRight: drawRotated(painter, arrowUp(), 90); break;
    case Glyph::Stop: painter.drawRect(5, 5, 14, 14); break;
    case Glyph::TurnLeft: drawTurn(painter, true); break;
    case Glyph::TurnRight: drawTurn(painter, false); break;
    case Glyph::Horn:
        painter.drawPolygon(QPolygon({QPoint(3, 9), QPoint(8, 9), QPoint(16, 3), QPoint(16, 21), QPoint(8, 15),
                                      QPoint(3, 15)}));
        painter.drawRect(18, 11, 4, 2);
        break;
    case Glyph::Hazard:
        painter.drawPolygon(QPolygon({QPoint(12, 2), QPoint(23, 21), QPoint(1, 21)}));
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygon({QPoint(12, 9), QPoint(17, 18), QPoint(7, 18)}));
        break;
    }
}

QColor downColour(Glyph glyph)
{
    switch (glyph) {
    case Glyph::Stop: return QColor(200, 0, 0);
    case Glyph::Hazard:
    case Glyph::Horn: return QColor(230, 140, 0);
    default: return QColor(0, 150, 0);
    }
}

QPixmap picture(Glyph glyph, const QColor &colour)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    drawGlyph(painter, glyph);
    return pixmap;
}

} // namespace

QIcon glyphIcon(Glyph glyph)
{
    QIcon icon;
    icon.addPixmap(picture(glyph, QColor(60, 60, 60)), QIcon::Normal, QIcon::Off);
    icon.addPixmap(picture(glyph, downColour(glyph)), QIcon::Normal, QIcon::On);
    icon.addPixmap(picture(glyph, downColour(glyph)), QIcon::Active, QIcon::On);
    return icon;
}

} // namespace drive
