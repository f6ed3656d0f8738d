#include "drive/drive_setup_window.h"

#include "drive/manual_drive.h"
#include "platform/game_controller.h"
#include "settings/program_location.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <optional>

namespace drive {

// A stick's axis as a bar from the centre, with the band that counts as rest
// shaded, or the trigger's from its start, with a mark where it starts to count.
class AxisBar : public QWidget {
public:
    AxisBar(const QString &name, bool fromCentre) : fromCentre(fromCentre)
    {
        setAccessibleName(name);
        setMinimumSize(160, 16);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    // share -1..1 for a stick, 0..1 for the trigger; rest is the band's half width
    // (the mark's place for the trigger).
    void setReading(double newShare, double newRest)
    {
        if (newShare == share && newRest == rest)
            return;
        share = newShare;
        rest = newRest;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const double origin = fromCentre ? frame.center().x() : frame.left();
        const double span = fromCentre ? frame.width() / 2 : frame.width();
        painter.fillRect(frame, palette().base());
        if (fromCentre)
            painter.fillRect(QRectF(origin - rest * span, frame.top(), 2 * rest * span, frame.height()),
                             palette().midlight());
        const double end = origin + share * span;
        painter.fillRect(
            QRectF(QPointF(std::min(origin, end), frame.top()), QPointF(std::max(origin, end), frame.bottom())),
            palette().highlight());
        painter.setPen(palette().mid().color());
        if (!fromCentre)
            painter.drawLine(QPointF(origin + rest * span, frame.top()), QPointF(origin + rest * span, frame.bottom()));
        painter.drawRect(frame);
    }

private:
    const bool fromCentre;
    double share = 0;
    double rest = 0;
};

namespace {

const QString kDeadZoneKey = QStringLiteral("drive/dead_zone_percent");
const QString kDeadManKey = QStringLiteral("drive/dead_man");
const QString kKeySpeedKey = QStringLiteral("drive/key_speed_percent");

double shareOf(int axis) { return std::clamp(double(axis) / platform::kPadAxisMax, -1.0, 1.0); }

} // namespace

// A spin box whose typing is not yet taken tells its value as it loses the focus
// when the window goes; that must not reach a window that is half taken apart.
DriveSetupWindow::~DriveSetupWindow()
{
    disconnect(deadZone, nullptr, this, nullptr);
    disconnect(keySpeed, nullptr, this, nullptr);
}

DriveSetupWindow::DriveSetupWindow(platform::GameController &pad, ManualDrive &driving,
                                   const settings::ProgramLocation &files)
    : QWidget(nullptr),
      pad(pad),
      driving(driving),
      stored(files),
      padLabel(new QLabel(this)),
      steeringBar(new AxisBar(tr("Linker Stick links/rechts"), true)),
      driveBar(new AxisBar(tr("Linker Stick vor/zurück"), true)),
      triggerBar(new AxisBar(tr("Rechter Trigger"), false)),
      deadZone(new QSpinBox(this)),
      deadMan(new QCheckBox(tr("Totmannschalter: fahren nur, solange der rechte Trigger gedrückt ist"),
                            this)),
      keySpeed(new QSpinBox(this)),
      stateLine(new QLabel(this))
{
    setWindowTitle(tr("Setup: Steuerung"));
    padLabel->setObjectName(QStringLiteral("padName"));
    deadZone->setObjectName(QStringLiteral("deadZone"));
    deadMan->setObjectName(QStringLiteral("deadMan"));
    keySpeed->setObjectName(QStringLiteral("keySpeed"));
    stateLine->setObjectName(QStringLiteral("stateLine"));
    deadZone->setRange(PadSettings::kDeadZoneMin, PadSettings::kDeadZoneMax);
    deadZone->setSuffix(QStringLiteral(" %"));
    deadZone->setToolTip(tr("Auslenkung der Sticks um die Mitte, die als Ruhe gilt"));
    keySpeed->setRange(ManualDrive::kKeySpeedMin, ManualDrive::kKeySpeedMax);
    keySpeed->setSuffix(QStringLiteral(" %"));
    keySpeed->setToolTip(tr("Tempo der Tasten W, S, A, D, solange der Geschwindigkeitsregler auf 0 steht"));
    // The line's text is its accessible name, as a read-out's text is its value.
    stateLine->setAccessibleDescription(tr("Zustand"));

    auto *form = new QFormLayout;
    form->addRow(tr("Gamepad:"), padLabel);
    form->addRow(tr("Linker Stick links/rechts:"), steeringBar);
    form->addRow(tr("Linker Stick vor/zurück:"), driveBar);
    form->addRow(tr("Rechter Trigger:"), triggerBar);
    form->addRow(tr("&Totzone:"), deadZone);
    form->addRow(deadMan);
    form->addRow(tr("Tasten&geschwindigkeit:"), keySpeed);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buildTable(), 1);
    layout->addWidget(stateLine);

    restoreChoices();
    connect(deadZone, qOverload<int>(&QSpinBox::valueChanged), this, &DriveSetupWindow::chooseDeadZone);
    connect(deadMan, &QCheckBox::toggled, this, &DriveSetupWindow::chooseDeadMan);
    connect(keySpeed, qOverload<int>(&QSpinBox::valueChanged), this, &DriveSetupWindow::chooseKeySpeed);
    connect(&pad, &platform::GameController::padChanged, this, &DriveSetupWindow::showPad);
    connect(&pad, &platform::GameController::stateChanged, this, &DriveSetupWindow::showReading);
    connect(&driving, &ManualDrive::stateChanged, stateLine, &QLabel::setText);
    showPad(pad.padName());
    stateLine->setText(driving.stateText());
}

QWidget *DriveSetupWindow::buildTable()
{
    using Action = ManualDrive::Action;
    const struct {
        std::optional<Action> key;
        const char *padControl;
        const char *effect;
    } rows[] = {
        {Action::Forward, QT_TR_NOOP("linker Stick nach vorn"), QT_TR_NOOP("vorwärts (Tempo: Regler bzw. Auslenkung)")},
        {Action::Backward, QT_TR_NOOP("linker Stick nach hinten"), QT_TR_NOOP("rückwärts (ebenso)")},
        {std::nullopt, QT_TR_NOOP("linker Stick links/rechts"), QT_TR_NOOP("lenken, Mitte: geradeaus")},
        {Action::SharpLeft, QT_TR_NOOP("linke Schultertaste"), QT_TR_NOOP("scharf links; im Stand: auf der Stelle drehen")},
        {Action::SharpRight, QT_TR_NOOP("rechte Schultertaste"),
         QT_TR_NOOP("scharf rechts; im Stand: auf der Stelle drehen")},
        {Action::Horn, "A", QT_TR_NOOP("hupen, solange gehalten")},
        {Action::Stop, "B", QT_TR_NOOP("STOP: Richtung Stopp, Geschwindigkeit 0")},
        {std::nullopt, QT_TR_NOOP("rechter Trigger"), QT_TR_NOOP("Totmannschalter: über die Hälfte gedrückt halten")},
    };
    auto *table = new QTableWidget(int(std::size(rows)), 3, this);
    table->setAccessibleName(tr("Tastenbelegung"));
    table->setHorizontalHeaderLabels(
        {tr("Tastatur"), tr("Gamepad"), tr("Wirkung")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    for (int row = 0; row < int(std::size(rows)); ++row) {
        const QString key = rows[row].key ? ManualDrive::keyName(*rows[row].key) : QString();
        table->setItem(row, 0, new QTableWidgetItem(key));
        table->setItem(row, 1, new QTableWidgetItem(tr(rows[row].padControl)));
        table->setItem(row, 2, new QTableWidgetItem(tr(rows[row].effect)));
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return table;
}

void DriveSetupWindow::restoreChoices()
{
    PadSettings settings;
    settings.deadZonePercent = int(stored.number(kDeadZoneKey, settings.deadZonePercent, PadSettings::kDeadZoneMin,
                                                 PadSettings::kDeadZoneMax));
    settings.deadMan = stored.flag(kDeadManKey, settings.deadMan);
    deadZone->setValue(settings.deadZonePercent);
    deadMan->setChecked(settings.deadMan);
    driving.setPadSettings(settings);
    keySpeed->setValue(int(stored.number(kKeySpeedKey, ManualDrive::kKeySpeedDefault, ManualDrive::kKeySpeedMin,
                                         ManualDrive::kKeySpeedMax)));
    driving.setKeySpeed(keySpeed->value());
}

void DriveSetupWindow::chooseDeadZone(int percent)
{
    stored.setNumber(kDeadZoneKey, percent);
    PadSettings settings = driving.padSettings();
    settings.deadZonePercent = percent;
    driving.setPadSettings(settings);
    showReading(pad.state());
}

void DriveSetupWindow::chooseDeadMan(bool on)
{
    stored.setFlag(kDeadManKey, on);
    PadSettings settings = driving.padSettings();
    settings.deadMan = on;
    driving.setPadSettings(settings);
}

void DriveSetupWindow::chooseKeySpeed(int percent)
{
    stored.setNumber(kKeySpeedKey, percent);
    driving.setKeySpeed(percent);
}

void DriveSetupWindow::showPad(const QString &name)
{
    padLabel->setText(name.isEmpty() ? tr("kein Gamepad gefunden") : name);
}

void DriveSetupWindow::showReading(const platform::PadState &reading)
{
    if (!isVisible())
        return;
    const double rest = driving.padSettings().deadZonePercent / 100.0;
    steeringBar->setReading(shareOf(reading.leftX), rest);
    driveBar->setReading(-shareOf(reading.leftY), rest);
    triggerBar->setReading(shareOf(reading.rightTrigger), 0.5);
}

void DriveSetupWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    showReading(pad.state());
}

} // namespace drive
