#pragma once
// The drive group: direction buttons, sharp turns, horn, hazard lights, steering
// and speed bars, and the 50 ms chassis timer KettenTimer1 that sends the
// command rotation on link 2 while the chassis model is active.
#include <QObject>
#include <QTimer>

class QGroupBox;
class QToolButton;
namespace comm {
class CommandSender;
}
namespace telemetry {
class TelemetryPanel;
}
namespace toolkit {
class TrackBar;
}

namespace drive {

class Fahrwerk;

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
    DrivePanel(const DriveWidgets &widgets, Fahrwerk &fahrwerk, telemetry::TelemetryPanel &readOuts,
               comm::CommandSender &link2, QObject *parent);

    // The drive controls and the telemetry read-outs; the gauges are emptied.
    void setFahrwerkEnabled(bool enabled);
    // On: the controls first, then the model; off: the model first.
    void switchChassis(bool on);

    // Driving by gamepad or keyboard goes through the controls, which show it.
    // 'v', 'r' or 's': its button goes down; the speed stays.
    void setDirection(char richtung);
    // The direction, the speed (0..255) and the steering, which the sliders take.
    void drive(char richtung, int speed, int steering);
    // As the red stop button: direction stop, speed 0.
    void stop();

    void KettenTimer1Timer();
    void btnVorClick();
    void btnVorMouseDown();
    void btnRueckClick();
    void btnRueckMouseDown();
    void btnStopClick();
    void btnWende_LClick();
    void btnWende_RClick();
    void btnHupeMouseDown();
    void btnHupeMouseUp();
    void btnWarnblinkClick();
    void btnLinksMouseDown();
    void btnLinksMouseUp();
    void btnRechtsMouseDown();
    void btnRechtsMouseUp();
    void trbLenkChange();
    void trbSpeedChange();

private:
    void connectControls();
    // Pressing a direction that is already down centres the steering.
    void centreSteeringIfDown(const QToolButton *button);
    void applyDriveSpeed();

    DriveWidgets widgets;
    Fahrwerk &fahrwerk;
    telemetry::TelemetryPanel &readOuts;
    comm::CommandSender &link2;
    QTimer KettenTimer1;
};

} // namespace drive
