#pragma once
// The three telemetry plots stacked over one time axis: battery, temperature and
// distance, each with the zone of its alarm as a band behind the line. Keys are
// wall-clock seconds, which the time axis labels as hh:mm:ss.
#include "telemetry/gauge_scales.h"
#include "telemetry/telemetry_alarms.h"
#include "telemetry/telemetry_history.h"

#include <qcustomplot.h>
#include <array>
#include <optional>

namespace telemetry {

class TelemetryPlots : public QCustomPlot {
    Q_OBJECT

public:
    explicit TelemetryPlots(QWidget *parent = nullptr);

    QCPRange timeRange() const;
    void setTimeRange(const QCPRange &range);
    // While browsing, the mouse drags and zooms the time axis.
    void setBrowsable(bool browsable);

    // keyOffset turns the samples' monotonic seconds into wall-clock seconds.
    void setSamples(Quantity quantity, const std::vector<TelemetrySample> &samples, double keyOffset);
    // A fixed range, or none for one that fits the samples in view.
    void setValueRange(Quantity quantity, const std::optional<GaugeRange> &fixed);
    void showAlarmZone(Quantity quantity, const AlarmRule &rule, bool firing);

signals:
    // The operator dragged or zoomed the time axis.
    void timeRangeMoved();
    // The mouse rests over a plot at this key; nothing when it left the plots.
    void pointedAt(telemetry::Quantity quantity, double key, const QPoint &globalPosition);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    struct Plot {
        QCPAxisRect *area;
        QCPGraph *graph;
        QCPItemRect *zone;
    };
    void followTimeAxis(const QCPRange &range);

    std::array<Plot, kQuantities.size()> plots{};
    bool settingTimeRange = false;
};

} // namespace telemetry
