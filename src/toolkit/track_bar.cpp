#include "toolkit/track_bar.h"

#include <QPainter>
#include <QStyleOptionSlider>
#include <algorithm>

namespace toolkit {

namespace {
constexpr int kBandThickness = 4;
// From the middle of the groove to the band: beside a groove drawn as a thin
// line, as every style draws it (some styles' groove rectangle spans the whole
// widget, so its edge cannot place the band).
constexpr int kBandGap = 4;
}

TrackBar::TrackBar(QWidget *parent) : QSlider(parent)
{
    pos = value();
    // A move by the user (or setValue) makes the shown value the position.
    connect(this, &QSlider::valueChanged, this, [this](int shown) {
        if (settingPosition || pos == shown)
            return;
        pos = shown;
        emit positionChanged(pos);
    });
}

void TrackBar::setPosition(int value)
{
    if (value == pos)
        return;
    pos = value;
    settingPosition = true;
    setValue(value);
    settingPosition = false;
    emit positionChanged(pos);
}

void TrackBar::setSelStart(int value)
{
    bandStart = value;
    update();
}

void TrackBar::setSelEnd(int value)
{
    bandEnd = value;
    update();
}

void TrackBar::paintEvent(QPaintEvent *event)
{
    QSlider::paintEvent(event);
    const int low = std::max(std::min(bandStart, bandEnd), minimum());
    const int high = std::min(std::max(bandStart, bandEnd), maximum());
    if (low >= high)
        return;

    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const bool horizontal = orientation() == Qt::Horizontal;
    const int span = (horizontal ? groove.width() : groove.height()) - (horizontal ? handle.width() : handle.height());
    const int offset = horizontal ? groove.left() + handle.width() / 2 : groove.top() + handle.height() / 2;
    const auto pixel = [&](int value) {
        return offset + QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, option.upsideDown);
    };
    const int a = pixel(low);
    const int b = pixel(high);
    const int beside = (horizontal ? handle.center().y() : handle.center().x()) + kBandGap;
    QRect band;
    if (horizontal)
        band = QRect(QPoint(std::min(a, b), beside), QPoint(std::max(a, b), beside + kBandThickness - 1));
    else
        band = QRect(QPoint(beside, std::min(a, b)), QPoint(beside + kBandThickness - 1, std::max(a, b)));
    QPainter painter(this);
    painter.fillRect(band, palette().color(isEnabled() ? QPalette::Highlight : QPalette::Mid));
}

} // namespace toolkit
