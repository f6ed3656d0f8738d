#include "toolkit/gauge.h"

#include <QPainter>
#include <algorithm>

namespace toolkit {

Gauge::Gauge(QWidget *parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void Gauge::setProgress(int percent) { setValue(std::clamp(percent, 0, 100)); }

void Gauge::setForeColor(const QColor &colour)
{
    fill = colour;
    update();
}

void Gauge::setBackColor(const QColor &colour)
{
    background = colour;
    update();
}

void Gauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(frame, background);
    QRect done = frame;
    done.setWidth(frame.width() * value() / 100);
    painter.fillRect(done, fill);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(frame);
    if (isTextVisible()) {
        // Readable on the fill colour, which the text mostly stands on once the bar is half full.
        const QColor under = value() >= 50 ? fill : background;
        painter.setPen(qGray(under.rgb()) < 128 ? Qt::white : Qt::black);
        painter.drawText(frame, Qt::AlignCenter, QStringLiteral("%1%").arg(value()));
    }
}

} // namespace toolkit
