#include "sequence/sequence_glyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

constexpr int kGlyphSize = 17;

struct Palette {
    QColor outline;
    QColor paper;
    QColor folder;
    QColor disk;
    QColor add;
    QColor remove;
    QColor arrow;
};

const Palette kEnabled{Qt::black, Qt::white, QColor(230, 190, 60), QColor(40, 70, 160),
                       QColor(0, 140, 0), QColor(200, 0, 0), QColor(0, 0, 128)};
const Palette kDisabled{QColor(128, 128, 128), QColor(235, 235, 235), QColor(200, 200, 200),
                        QColor(160, 160, 160), QColor(160, 160, 160), QColor(160, 160, 160),
                        QColor(160, 160, 160)};

void drawPage(QPainter &p, const Palette &c)
{
    const QPolygonF page({QPointF(3.5, 1.5), QPointF(10.5, 1.5), QPointF(13.5, 4.5), QPointF(13.5, 15.5),
                          QPointF(3.5, 15.5)});
    p.setPen(c.outline);
    p.setBrush(c.paper);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF({QPointF(10.5, 1.5), QPointF(10.5, 4.5), QPointF(13.5, 4.5)}));
}

void drawFolder(QPainter &p, const Palette &c)
{
    p.setPen(c.outline);
    p.setBrush(c.folder);
    p.drawPolygon(QPolygonF({QPointF(1.5, 4.5), QPointF(6.5, 4.5), QPointF(7.5, 5.5), QPointF(14.5, 5.5),
                             QPointF(14.5, 14.5), QPointF(1.5, 14.5)}));
    p.setBrush(c.folder.lighter(120));
    p.drawPolygon(QPolygonF({QPointF(3.5, 8.5), QPointF(16.5, 8.5), QPointF(14.5, 14.5), QPointF(1.5, 14.5)}));
}

void drawDisk(QPainter &p, const Palette &c)
{
    p.setPen(c.outline);
    p.setBrush(c.disk);
    p.drawRect(QRectF(1.5, 1.5, 14, 14));
    p.setBrush(c.paper);
    p.drawRect(QRectF(4.5, 1.5, 8, 5));
    p.drawRect(QRectF(3.5, 9.5, 10, 6));
}

void drawPlus(QPainter &p, const Palette &c)
{
    p.fillRect(QRect(7, 2, 3, 13), c.add);
    p.fillRect(QRect(2, 7, 13, 3), c.add);
}

void drawMinus(QPainter &p, const Palette &c) { p.fillRect(QRect(2, 7, 13, 3), c.remove); }

void drawArrow(QPainter &p, const Palette &c, bool forward)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c.arrow);
    if (forward)
        p.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(13, 8.5), QPointF(5, 14)}));
    else
        p.drawPolygon(QPolygonF({QPointF(12, 3), QPointF(4, 8.5), QPointF(12, 14)}));
}

QPixmap render(SequenceGlyph glyph, const Palette &colours)
{
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    switch (glyph) {
    case SequenceGlyph::New: drawPage(painter, colours); break;
    case SequenceGlyph::Open: drawFolder(painter, colours); break;
    case SequenceGlyph::StepBack: drawArrow(painter, colours, false); break;
    case SequenceGlyph::StepForward: drawArrow(painter, colours, true); break;
    case SequenceGlyph::SaveAndClose: drawDisk(painter, colours); break;
    case SequenceGlyph::AddStep: drawPlus(painter, colours); break;
    case SequenceGlyph::DeleteStep: drawMinus(painter, colours); break;
    }
    return pixmap;
}

} // namespace

QIcon sequenceGlyph(SequenceGlyph glyph)
{
    QIcon icon;
    icon.addPixmap(render(glyph, kEnabled), QIcon::Normal, QIcon::Off);
    if (glyph != SequenceGlyph::StepBack && glyph != SequenceGlyph::StepForward)
        icon.addPixmap(render(glyph, kDisabled), QIcon::Disabled, QIcon::Off);
    return icon;
}
