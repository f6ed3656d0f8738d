#pragma once
// The 100 ms arm timer ServoTimer1: each tick sends what the arm's joints
// changed since the last one on link 1. It runs from its creation to the end;
// nothing stops or re-times it.
#include "arm/group_move.h"

#include <QObject>
#include <QTimer>

namespace comm {
class CommandSender;
}

namespace arm {

class Arm;

class ServoTimer : public QObject {
    Q_OBJECT

public:
    ServoTimer(const Arm &arm, comm::CommandSender &link1, QObject *parent);

    void ServoTimer1Timer();
    // The joints as they stand count as sent: only later changes go out (after
    // a link came back, what was pending while it was down must not).
    void takeAsSent();
    // What the joints changed goes out now, as one group move that takes timeMs
    // (see GroupMove): the pieces of a move in millimetres keep their own times
    // between the ticks. The next tick finds it sent.
    void sendTimedMove(int timeMs);

signals:
    // After every tick, once what the joints changed has gone out (or nothing did).
    void ticked();

private:
    void sendChanges(int timeMs);

    Servos joints{};
    comm::CommandSender &link1;
    GroupMove groupMove;
    QTimer ServoTimer1;
};

} // namespace arm
