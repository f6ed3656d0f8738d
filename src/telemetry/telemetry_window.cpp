#include "telemetry/telemetry_window.h"

#include "settings/program_location.h"
#include "telemetry/telemetry_plots.h"
#include "toolkit/message_sink.h"
#include "toolkit/translated.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

namespace telemetry {

namespace {

namespace msg = toolkit::msg;

constexpr int kMinutes[] = {1, 5, 15, 60};
constexpr int kDefaultMinutes = 5;
constexpr int kRefreshMs = 100; // at most ten pictures a second
constexpr int kSlowestRefreshMs = 1000;
// A following view moves in steps of this many pixels: half the pictures of
// single-pixel steps, and the eye sees no difference.
constexpr int kFollowingStepPixels = 2;

QString fromView(std::string_view text) { return QString::fromUtf8(text.data(), int(text.size())); }

QString settingsName(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Battery: return QStringLiteral("battery");
    case Quantity::Temperature: return QStringLiteral("temperature");
    case Quantity::Distance: return QStringLiteral("distance");
    }
    return {};
}

QString limitKey(Quantity quantity) { return QStringLiteral("telemetry/%1_alarm").arg(settingsName(quantity)); }
QString scaleKey(Quantity quantity) { return QStringLiteral("telemetry/%1_gauge_scale").arg(settingsName(quantity)); }
const QString kMinutesKey = QStringLiteral("telemetry/minutes");

GaugeRange gaugeRange(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Battery: return kBatteryRange;
    case Quantity::Temperature: return kTemperatureRange;
    case Quantity::Distance: return kDistanceRange;
    }
    return {};
}

// What an alarm limit may be set to, and its steps.
struct LimitBox {
    double min;
    double max;
    double step;
    int decimals;
};

LimitBox limitBox(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Battery: return {0, 20, 0.1, 2};
    case Quantity::Temperature: return {0, 150, 1, 0};
    case Quantity::Distance: return {0, 500, 1, 0};
    }
    return {};
}

QString formatted(Quantity quantity, double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals) + QLatin1Char(' ') + fromView(textOf(quantity).unit);
}

QString reading(Quantity quantity, double value) { return formatted(quantity, value, textOf(quantity).decimals); }

// A style sheet set again, even the same one, makes the label polish itself anew.
void setStyleSheetOnce(QLabel &label, const QString &styleSheet)
{
    if (label.styleSheet() != styleSheet)
        label.setStyleSheet(styleSheet);
}

// The time of day, with the date when it is not today.
QString wallClockText(double secondsSinceEpoch)
{
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(qint64(secondsSinceEpoch * 1000));
    return time.toString(time.date() == QDate::currentDate() ? QStringLiteral("hh:mm:ss")
                                                             : QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

QString sideWord(const AlarmRule &rule)
{
    return rule.side == AlarmRule::Side::Below ? QCoreApplication::translate("telemetry::TelemetryWindow", "unter")
                                               : QCoreApplication::translate("telemetry::TelemetryWindow", "ab");
}

} // namespace

// A spin box whose typing is not yet taken tells its value as it loses the focus
// when the window goes; that must not reach a window that is half taken apart.
TelemetryWindow::~TelemetryWindow()
{
    for (const QuantityControls &quantity : controls)
        disconnect(quantity.alarmLimit, nullptr, this, nullptr);
}

TelemetryWindow::TelemetryWindow(TelemetryRecord &record, const settings::ProgramLocation &files, QWidget *parent)
    : QWidget(parent, Qt::Window),
      record(record),
      stored(files),
      rfsDirectory(files.rfsDir()),
      plots(new TelemetryPlots(this))
{
    setWindowTitle(tr("Telemetrie"));
    // Closing the main window ends the program even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buildToolRow());
    layout->addWidget(plots, 1);
    layout->addLayout(buildQuantityRows());
    layout->addLayout(buildStatusLines());
    resize(900, 680);

    refreshTimer.setSingleShot(true);
    connect(&refreshTimer, &QTimer::timeout, this, &TelemetryWindow::refresh);
    connect(plots, &TelemetryPlots::timeRangeMoved, this, &TelemetryWindow::markChanged);
    connect(plots, &TelemetryPlots::pointedAt, this, &TelemetryWindow::showNearest);
    connectRecord();
    restoreChoices();
    showRecordingState();
}

QLayout *TelemetryWindow::buildToolRow()
{
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(tr("Zeitfenster:"), this);
    timeWindow = new QComboBox(this);
    for (int minutes : kMinutes)
        timeWindow->addItem(tr("%1 min").arg(minutes), minutes);
    label->setBuddy(timeWindow);
    timeWindow->setAccessibleName(tr("Zeitfenster"));
    pauseButton = new QPushButton(tr("Anhalten"), this);
    pauseButton->setToolTip(tr("Anzeige anhalten; die Zeitachse lässt sich dann mit der Maus verschieben und zoomen"));
    recordButton = new QPushButton(tr("Aufzeichnen..."), this);
    endRecordingButton = new QPushButton(tr("Aufzeichnung beenden"), this);
    row->addWidget(label);
    row->addWidget(timeWindow);
    row->addWidget(pauseButton);
    row->addStretch(1);
    row->addWidget(recordButton);
    row->addWidget(endRecordingButton);
    connect(timeWindow, qOverload<int>(&QComboBox::activated), this, &TelemetryWindow::chooseTimeWindow);
    connect(pauseButton, &QPushButton::clicked, this, &TelemetryWindow::togglePause);
    connect(recordButton, &QPushButton::clicked, this, &TelemetryWindow::startRecording);
    connect(endRecordingButton, &QPushButton::clicked, this, [this] {
        record.recorder().stop();
        showRecordingState();
    });
    return row;
}

QLayout *TelemetryWindow::buildQuantityRows()
{
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Y-Achse"), this), 0, 1);
    grid->addWidget(new QLabel(tr("Alarmgrenze"), this), 0, 2);
    for (Quantity quantity : kQuantities) {
        const int row = int(indexOf(quantity)) + 1;
        const QString title = toolkit::translated(textOf(quantity).title);
        auto *valueRange = new QComboBox(this);
        valueRange->addItems({tr("automatisch"), tr("Skala der Anzeige")});
        valueRange->setAccessibleName(tr("Y-Achse %1").arg(title));
        auto *alarmLimit = new QDoubleSpinBox(this);
        const LimitBox box = limitBox(quantity);
        alarmLimit->setRange(box.min, box.max);
        alarmLimit->setSingleStep(box.step);
        alarmLimit->setDecimals(box.decimals);
        alarmLimit->setPrefix(sideWord(TelemetryAlarms::gaugeRule(quantity)) + QLatin1Char(' '));
        alarmLimit->setSuffix(QLatin1Char(' ') + fromView(textOf(quantity).unit));
        // A limit takes effect once typed in full, not at every digit.
        alarmLimit->setKeyboardTracking(false);
        alarmLimit->setAccessibleName(tr("Alarmgrenze %1").arg(title));
        grid->addWidget(new QLabel(title, this), row, 0);
        grid->addWidget(valueRange, row, 1);
        grid->addWidget(alarmLimit, row, 2);
        connect(valueRange, qOverload<int>(&QComboBox::activated), this,
                [this, quantity] { chooseValueRange(quantity); });
        connect(alarmLimit, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                [this, quantity] { chooseAlarmLimit(quantity); });
        controls[indexOf(quantity)] = {valueRange, alarmLimit};
    }
    grid->setColumnStretch(3, 1);
    return grid;
}

// The alarm state, and below it the recording's file and rows or why it ended.
QLayout *TelemetryWindow::buildStatusLines()
{
    auto *lines = new QVBoxLayout;
    for (QLabel **status : {&alarmStatus, &recordStatus}) {
        *status = new QLabel(this);
        (*status)->setWordWrap(true);
        lines->addWidget(*status);
    }
    // Their text is their name, as a read-out's is its value, so that a screen
    // reader reads the state; what they are is their description.
    alarmStatus->setAccessibleDescription(tr("Alarmzustand"));
    recordStatus->setAccessibleDescription(tr("Aufzeichnung"));
    return lines;
}

void TelemetryWindow::connectRecord()
{
    connect(&record, &TelemetryRecord::sampleAdded, this, &TelemetryWindow::sampleArrived);
    connect(&record, &TelemetryRecord::alarmRearmed, this, &TelemetryWindow::markChanged);
    connect(&record, &TelemetryRecord::linkChanged, this, &TelemetryWindow::markChanged);
    connect(&record, &TelemetryRecord::alarmFired, this, &TelemetryWindow::alarmFired);
    connect(&record.recorder(), &CsvRecorder::written, this, [this] {
        if (isVisible())
            showStatus();
    });
    connect(&record.recorder(), &CsvRecorder::failed, this, &TelemetryWindow::recordingFailed);
}

// The record's alarms take the kept limits here, so the window is made at
// start-up, before the first reading.
void TelemetryWindow::restoreChoices()
{
    const int index = timeWindow->findData(int(stored.number(kMinutesKey, kDefaultMinutes, 1, 60)));
    timeWindow->setCurrentIndex(index >= 0 ? index : timeWindow->findData(kDefaultMinutes));
    for (Quantity quantity : kQuantities) {
        const QuantityControls &control = controls[indexOf(quantity)];
        control.valueRange->setCurrentIndex(stored.flag(scaleKey(quantity), false) ? 1 : 0);
        const LimitBox box = limitBox(quantity);
        const double limit =
            stored.number(limitKey(quantity), TelemetryAlarms::gaugeRule(quantity).limit, box.min, box.max);
        const QSignalBlocker quiet(control.alarmLimit);
        control.alarmLimit->setValue(limit);
        record.setAlarmLimit(quantity, limit);
    }
}

void TelemetryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    markChanged();
}

void TelemetryWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        markChanged();
}

void TelemetryWindow::markChanged() { refreshWithin(kRefreshMs); }

// A halted view stays as it is; only the status line counts the rows. A
// following one needs a new picture once the time axis has moved by a step.
void TelemetryWindow::sampleArrived()
{
    if (!following) {
        if (isVisible())
            showStatus();
        return;
    }
    const double msPerStep = timeSpan() * 1000 * kFollowingStepPixels / std::max(1, plots->width());
    refreshWithin(int(std::clamp(msPerStep, double(kRefreshMs), double(kSlowestRefreshMs))));
}

// Changes are gathered and painted together by the timer, and only into a
// window that can be seen; a hidden one catches up when it is shown. The timer
// starts only after the last picture and at least kRefreshMs ahead, so no two
// pictures come closer than that.
void TelemetryWindow::refreshWithin(int milliseconds)
{
    changed = true;
    if (!isVisible() || isMinimized())
        return;
    if (!refreshTimer.isActive() || refreshTimer.remainingTime() > milliseconds)
        refreshTimer.start(milliseconds);
}

void TelemetryWindow::refresh()
{
    if (!changed || !isVisible() || isMinimized())
        return;
    changed = false;
    const double offset = record.wallClockOffset();
    if (following) {
        const double newest = record.history().newestTime().value_or(record.now()) + offset;
        plots->setTimeRange(QCPRange(newest - timeSpan(), newest));
    }
    const QCPRange view = plots->timeRange();
    for (Quantity quantity : kQuantities) {
        plots->setSamples(quantity, record.history().around(quantity, view.lower - offset, view.upper - offset),
                          offset);
        plots->setValueRange(quantity, gaugeScale(quantity) ? std::optional(gaugeRange(quantity)) : std::nullopt);
        plots->showAlarmZone(quantity, record.alarms().rule(quantity), record.alarms().firing(quantity));
    }
    showStatus();
    plots->replot();
}

// Without readings the alarms have nothing to say, and a recording waits.
void TelemetryWindow::showStatus()
{
    const TelemetryRecord::Feed feed = record.feed();
    QStringList firing;
    for (Quantity quantity : kQuantities)
        if (record.alarms().firing(quantity))
            firing << alarmTexts[indexOf(quantity)];
    QString alarmStyle;
    if (feed == TelemetryRecord::Feed::Live) {
        alarmStatus->setText(firing.isEmpty() ? tr("Kein Alarm") : firing.join(QStringLiteral("   ")));
        if (!firing.isEmpty())
            alarmStyle = QStringLiteral("color: white; background: #c00000; padding: 2px 6px;");
    } else {
        alarmStatus->setText(feed == TelemetryRecord::Feed::Awaited
                                 ? tr("Keine Daten")
                                 : tr("Keine Daten: Verbindung 2 (Fahrwerk) getrennt seit %1")
                                       .arg(wallClockText(record.goneSince() + record.wallClockOffset())));
        alarmStyle = QStringLiteral("color: black; background: #d8d8d8; padding: 2px 6px;");
    }
    setStyleSheetOnce(*alarmStatus, alarmStyle);
    const CsvRecorder &recorder = record.recorder();
    if (recorder.recording()) {
        recordStatus->setText((feed == TelemetryRecord::Feed::Gone
                                   ? tr("Aufzeichnung: %1, %2 Zeilen (läuft weiter, wartet auf Verbindung 2)")
                                   : tr("Aufzeichnung: %1, %2 Zeilen"))
                                  .arg(QFileInfo(recorder.path()).fileName(),
                                       QString::number(recorder.rowsWritten())));
        setStyleSheetOnce(*recordStatus, QString());
    } else {
        recordStatus->setText(recordingProblem);
        setStyleSheetOnce(*recordStatus, QStringLiteral("color: #c00000;"));
    }
}

void TelemetryWindow::showRecordingState()
{
    const bool recording = record.recorder().recording();
    recordButton->setEnabled(!recording);
    endRecordingButton->setEnabled(recording);
    markChanged();
}

void TelemetryWindow::chooseTimeWindow()
{
    stored.setNumber(kMinutesKey, timeWindow->currentData().toInt());
    if (!following) {
        const double end = plots->timeRange().upper;
        plots->setTimeRange(QCPRange(end - timeSpan(), end));
    }
    markChanged();
}

// Halted, the view stays where it is (the record goes on collecting) and the
// mouse may move along the time axis; going on returns to the newest sample.
void TelemetryWindow::togglePause()
{
    following = !following;
    pauseButton->setText(following ? tr("Anhalten") : tr("Weiter"));
    plots->setBrowsable(!following);
    markChanged();
}

void TelemetryWindow::chooseValueRange(Quantity quantity)
{
    stored.setFlag(scaleKey(quantity), gaugeScale(quantity));
    markChanged();
}

void TelemetryWindow::chooseAlarmLimit(Quantity quantity)
{
    const double limit = controls[indexOf(quantity)].alarmLimit->value();
    record.setAlarmLimit(quantity, limit);
    stored.setNumber(limitKey(quantity), limit);
    markChanged();
}

void TelemetryWindow::startRecording()
{
    QFileDialog dialog(this, tr("Aufzeichnung speichern"), rfsDirectory);
    dialog.setObjectName(QStringLiteral("recordDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({tr("CSV-Dateien (*.csv)"), tr("Alle (*)")});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QStringLiteral("Telemetrie_%1.csv")
                          .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"))));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    recordingProblem.clear();
    record.recorder().start(dialog.selectedFiles().constFirst());
    showRecordingState();
}

void TelemetryWindow::alarmFired(Quantity quantity, double value)
{
    const AlarmRule &rule = record.alarms().rule(quantity);
    const QString limit = formatted(quantity, rule.limit, limitBox(quantity).decimals);
    const QString alarm = rule.side == AlarmRule::Side::Below ? tr("Alarm: %1 %2 unter %3 (%4)")
                                                              : tr("Alarm: %1 %2 ab %3 (%4)");
    alarmTexts[indexOf(quantity)] = alarm.arg(toolkit::translated(textOf(quantity).name), reading(quantity, value),
                                              limit, QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
    QApplication::beep();
    markChanged();
}

// Said once in the status line, where it stays until the next recording, and
// once in a box.
void TelemetryWindow::recordingFailed(const QString &reason)
{
    recordingProblem = reason;
    showRecordingState();
    msg::show(msg::Kind::Warning, msg::Buttons::Ok, platform::UiText::verbatim(reason.toStdString()));
}

void TelemetryWindow::showNearest(Quantity quantity, double key, const QPoint &globalPosition)
{
    const double offset = record.wallClockOffset();
    const std::optional<TelemetrySample> sample = record.history().nearest(quantity, key - offset);
    if (!sample) {
        QToolTip::hideText();
        return;
    }
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(qint64((sample->time + offset) * 1000));
    QToolTip::showText(globalPosition,
                       tr("%1 Uhr\n%2: %3")
                           .arg(time.toString(QStringLiteral("hh:mm:ss")) + QLocale().decimalPoint() +
                                    time.toString(QStringLiteral("zzz")),
                                toolkit::translated(textOf(quantity).name), reading(quantity, sample->value)),
                       plots);
}

double TelemetryWindow::timeSpan() const { return timeWindow->currentData().toInt() * 60.0; }

bool TelemetryWindow::gaugeScale(Quantity quantity) const
{
    return controls[indexOf(quantity)].valueRange->currentIndex() == 1;
}

} // namespace telemetry
