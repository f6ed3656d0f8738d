#pragma once
// The window "Telemetrie": the chassis readings of the record plotted over a
// time window, the alarms, and the CSV recording. Not modal; closing it hides
// it, and the record goes on collecting. It paints at most ten times a second,
// while following only as often as the time axis moves by two pixels, and not at
// all while hidden or minimised. Its choices (time window, value
// ranges, alarm limits) are kept in velmora.ini.
#include "telemetry/telemetry_record.h"
#include "settings/extension_settings.h"

#include <QTimer>
#include <QWidget>
#include <array>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace telemetry {

class TelemetryPlots;

class TelemetryWindow : public QWidget {
    Q_OBJECT

public:
    // The record outlives the window; recordings go to RFS/ by default.
    TelemetryWindow(TelemetryRecord &record, const settings::ProgramLocation &files, QWidget *parent = nullptr);
    ~TelemetryWindow() override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct QuantityControls {
        QComboBox *valueRange;
        QDoubleSpinBox *alarmLimit;
    };
    QLayout *buildToolRow();
    QLayout *buildQuantityRows();
    QLayout *buildStatusLines();
    void connectRecord();
    void restoreChoices();

    void markChanged();
    void sampleArrived();
    void refreshWithin(int milliseconds);
    void refresh();
    void showStatus();
    void showRecordingState();

    void chooseTimeWindow();
    void togglePause();
    void chooseValueRange(Quantity quantity);
    void chooseAlarmLimit(Quantity quantity);
    void startRecording();
    void alarmFired(Quantity quantity, double value);
    void recordingFailed(const QString &reason);
    void showNearest(Quantity quantity, double key, const QPoint &globalPosition);

    double timeSpan() const;
    bool gaugeScale(Quantity quantity) const;

    TelemetryRecord &record;
    settings::ExtensionSettings stored;
    QString rfsDirectory;
    TelemetryPlots *plots;
    QComboBox *timeWindow = nullptr;
    QPushButton *pauseButton = nullptr;
    QPushButton *recordButton = nullptr;
    QPushButton *endRecordingButton = nullptr;
    std::array<QuantityControls, kQuantities.size()> controls{};
    QLabel *alarmStatus = nullptr;
    QLabel *recordStatus = nullptr;
    QTimer refreshTimer;
    bool changed = true;
    bool following = true;
    std::array<QString, kQuantities.size()> alarmTexts;
    QString recordingProblem;
};

} // namespace telemetry
