#include "telemetry/telemetry_plots.h"

#include "toolkit/translated.h"

#include <QToolTip>
#include <algorithm>

namespace telemetry {

namespace {

// The least span an automatic range shows, so that a steady reading is a line
// in the middle, not a line along the edge: a few steps of the reading.
double leastSpan(Quantity quantity)
{
    return quantity == Quantity::Battery ? 0.4 : 4;
}

const QColor kLine(0, 90, 170);
const QColor kZone(220, 0, 0, 28);
const QColor kZoneFiring(220, 0, 0, 90);
const QColor kZoneEdge(220, 0, 0, 140);

} // namespace

TelemetryPlots::TelemetryPlots(QWidget *parent) : QCustomPlot(parent)
{
    setMouseTracking(true);
    // A picture costs a fifth of an antialiased one, and the steps of the
    // readings look no worse for it.
    setNotAntialiasedElements(QCP::aePlottables | QCP::aeItems);
    setPlottingHints(QCP::phCacheLabels | QCP::phFastPolylines);
    plotLayout()->clear();
    auto *margins = new QCPMarginGroup(this);
    QSharedPointer<QCPAxisTickerDateTime> clock(new QCPAxisTickerDateTime);
    clock->setDateTimeFormat(QStringLiteral("hh:mm:ss"));
    for (Quantity quantity : kQuantities) {
        auto *area = new QCPAxisRect(this);
        plotLayout()->addElement(int(indexOf(quantity)), 0, area);
        area->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        area->setRangeDrag(Qt::Horizontal);
        area->setRangeZoom(Qt::Horizontal);
        QCPAxis *time = area->axis(QCPAxis::atBottom);
        QCPAxis *value = area->axis(QCPAxis::atLeft);
        time->setTicker(clock);
        time->setTickLabels(quantity == kQuantities.back());
        value->setLabel(toolkit::translated(textOf(quantity).title));
        QCPGraph *graph = addGraph(time, value);
        graph->setPen(QPen(kLine, 1.5));
        graph->setLineStyle(QCPGraph::lsLine);
        auto *zone = new QCPItemRect(this);
        zone->setLayer(QStringLiteral("grid"));
        zone->setClipAxisRect(area);
        for (QCPItemPosition *corner : {zone->topLeft, zone->bottomRight}) {
            corner->setAxisRect(area);
            corner->setAxes(time, value);
            corner->setTypeX(QCPItemPosition::ptAxisRectRatio);
        }
        zone->setPen(QPen(kZoneEdge));
        zone->setBrush(kZone);
        connect(time, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
                &TelemetryPlots::followTimeAxis);
        plots[indexOf(quantity)] = {area, graph, zone};
    }
}

QCPRange TelemetryPlots::timeRange() const { return plots[0].area->axis(QCPAxis::atBottom)->range(); }

void TelemetryPlots::setTimeRange(const QCPRange &range)
{
    settingTimeRange = true;
    for (const Plot &plot : plots)
        plot.area->axis(QCPAxis::atBottom)->setRange(range);
    settingTimeRange = false;
}

void TelemetryPlots::setBrowsable(bool browsable)
{
    setInteractions(browsable ? QCP::iRangeDrag | QCP::iRangeZoom : QCP::Interactions());
}

void TelemetryPlots::setSamples(Quantity quantity, const std::vector<TelemetrySample> &samples, double keyOffset)
{
    QVector<QCPGraphData> points;
    points.reserve(int(samples.size()));
    for (const TelemetrySample &sample : samples)
        points.append(QCPGraphData(sample.time + keyOffset, sample.value));
    plots[indexOf(quantity)].graph->data()->set(points, true);
}

void TelemetryPlots::setValueRange(Quantity quantity, const std::optional<GaugeRange> &fixed)
{
    const Plot &plot = plots[indexOf(quantity)];
    QCPRange range = fixed ? QCPRange(fixed->empty, fixed->full) : QCPRange(0, leastSpan(quantity));
    bool found = false;
    const QCPRange inView = plot.graph->getValueRange(found, QCP::sdBoth, timeRange());
    if (!fixed && found) {
        const double margin = std::max(inView.size() * 0.1, (leastSpan(quantity) - inView.size()) / 2);
        range = QCPRange(inView.lower - margin, inView.upper + margin);
    }
    plot.area->axis(QCPAxis::atLeft)->setRange(range);
}

void TelemetryPlots::showAlarmZone(Quantity quantity, const AlarmRule &rule, bool firing)
{
    const Plot &plot = plots[indexOf(quantity)];
    const QCPRange range = plot.area->axis(QCPAxis::atLeft)->range();
    // Reaches well beyond the edge the zone opens to; the plot clips it.
    const double beyond = rule.side == AlarmRule::Side::Below ? std::min(range.lower, rule.limit) - range.size()
                                                             : std::max(range.upper, rule.limit) + range.size();
    plot.zone->topLeft->setCoords(0, std::max(rule.limit, beyond));
    plot.zone->bottomRight->setCoords(1, std::min(rule.limit, beyond));
    plot.zone->setBrush(firing ? kZoneFiring : kZone);
}

void TelemetryPlots::mouseMoveEvent(QMouseEvent *event)
{
    QCustomPlot::mouseMoveEvent(event);
    for (Quantity quantity : kQuantities) {
        QCPAxisRect *area = plots[indexOf(quantity)].area;
        if (area->rect().contains(event->pos())) {
            emit pointedAt(quantity, area->axis(QCPAxis::atBottom)->pixelToCoord(event->pos().x()),
                           event->globalPosition().toPoint());
            return;
        }
    }
    QToolTip::hideText();
}

// The three time axes move as one; a move the operator made is told.
void TelemetryPlots::followTimeAxis(const QCPRange &range)
{
    if (settingTimeRange)
        return;
    setTimeRange(range);
    emit timeRangeMoved();
}

} // namespace telemetry
