#pragma once
// The drive group: direction buttons, sharp turns, horn, hazard lights, steering
// and speed bars, and the 50 ms chassis timer KettenTimer1 that sends the
// command rotation on link 2 while the chassis model is active.
#include <QObject>
#include <QTimer>

class Fahrwerk;
class QGroupBox;
class QToolButton;
namespace comm {
class CommandSender;
}
namespace toolkit {
class TrackBar;
}

namespace chassis {

class TelemetryPanel;

struct DriveWidgets {
    QGroupBox *gbxFahrwerk;
    QToolButton *btnVor;
    QToolButton *btnRueck;
    QToolButton *btnStop;
    QToolButton *btnLinks;
    QToolButton *btnRechts;
    QToolButton *btnWende_L;
    QToolButton *btnWende_R;
    QToolButton *btnHupe;
    QToolButton *btnWarnblink;
    toolkit::TrackBar *trbLenk;
    toolkit::TrackBar *trbSpeed;
};

class DrivePanel : public QObject {
    Q_OBJECT

public:
    DrivePanel(const DriveWidgets &widgets, Fahrwerk &fahrwerk, TelemetryPanel &telemetry,
               comm::CommandSender &link2, QObject *parent);

    QTimer &timer() { return KettenTimer1; }
    void tick();

    // The drive controls and the telemetry read-outs; the gauges are emptied.
    void setFahrwerkEnabled(bool enabled);
    // On: the controls first, then the model; off: the model first.
    void switchChassis(bool on);

    void setRichtung(char richtung);
    // Pressing a direction that is already down centres the steering.
    void centreSteeringIfDown(QToolButton *button);
    void stop();
    void setHupe(bool on);
    void followWarnblink();
    void sharpTurnLeft();
    void sharpTurnRight();
    void endSharpTurn();
    void applySteering();
    void applySpeed();

private:
    void applyDriveSpeed();

    DriveWidgets widgets;
    Fahrwerk &fahrwerk;
    TelemetryPanel &telemetry;
    comm::CommandSender &link2;
    QTimer KettenTimer1;
};

} // namespace chassis
