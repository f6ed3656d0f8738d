#pragma once
// The drive group: direction buttons, sharp turns, horn, hazard lights, steering
// and speed bars, which write to the drive command and show it, and the 50 ms
// chassis timer KettenTimer1 that sends the command rotation on link 2 while the
// chassis model is active.
#include <QObject>
#include <QTimer>

class QGroupBox;
class QToolButton;
namespace comm {
class CommandSender;
}
namespace toolkit {
class TrackBar;
}

namespace drive {

class DriveCommand;
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
    DrivePanel(const DriveWidgets &widgets, DriveCommand &command, Fahrwerk &fahrwerk, comm::CommandSender &link2,
               QObject *parent);

    // The group and its controls.
    void setEnabled(bool enabled);

    void KettenTimer1Timer();

private:
    void connectControls();
    // The buttons and bars as the drive command stands.
    void showCommand();
    // Pressing a direction that is already down centres the steering.
    void centreSteeringIfDown(const QToolButton *button);

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

    DriveWidgets widgets;
    DriveCommand &command;
    Fahrwerk &fahrwerk;
    comm::CommandSender &link2;
    QTimer KettenTimer1;
};

} // namespace drive
