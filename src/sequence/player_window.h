#pragma once
// "Ablauf abspielen": the small window that plays a motion set on its own. A
// companion of the main window (toolkit/companion_windows.h), it holds the
// player, its clock and its one timer, which runs only while there is something
// to time. The console tells it what happens through the calls below
// (connectable as slots); it acts on the console through a PlayerHost.
#include "sequence/player_core.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace sequence {

class PlayerWindow : public QWidget {
    Q_OBJECT

public:
    explicit PlayerWindow(PlayerHost &console);
    ~PlayerWindow() override;

    // "Starten": shows the window and plays; while a run is on it only comes forward.
    void start();
    // A run is on, held or not.
    // As its controls, for a program: play (or go on after a pause) shows the
    // window without taking the operator's focus.
    void play();
    void pause();
    void stop();
    void setLoop(bool on);
    // 0..PlayerCore::kLongestDwellMs, as the "Pause (ms)" box takes it.
    void setDwellMs(int ms);
    const PlayerCore &core() const { return player; }
    // After every tick of the arm cycle, whether it sent something or not.
    void armTickPassed();
    // Every block received on link 1.
    void armReceived(const std::string &text);
    // Any change of a joint, by anyone.
    void jointChanged();
    // Steps added, deleted, or the whole set replaced.
    void listChanged();
    // Link 1 closed by the operator or lost.
    void linkClosed();
    // The current step changed without a joint moving (a line selected in the list).
    void showStepPosition();

signals:
    // After every event, once the window shows the player as it now stands.
    void followed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void connectControls();
    void showWindow(bool activate);
    // After every event: read-outs and buttons follow the player, the timer its next wake-up.
    void follow();
    Millis now() const { return clock.elapsed(); }

    PlayerHost &console;
    PlayerCore player;
    QElapsedTimer clock;
    QTimer wakeUp;
    QPushButton *playButton;
    QPushButton *pauseButton;
    QPushButton *stopButton;
    QSpinBox *dwellEdit;
    QCheckBox *loopBox;
    QLabel *stepLabel;
    QLabel *stateLabel;
};

} // namespace sequence
