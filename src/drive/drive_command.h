#pragma once
// What the operator asks of the chassis now: drive direction, speed, steering
// (a sharp turn is a steering beyond the bar's +-100), horn and hazard lights.
// Written by the drive group's controls (DrivePanel), the pad and the keys
// (ManualDrive); read by the drive group, which shows it, and by the Fahrwerk,
// to which every change is handed at once, so that its rotation sends it.
// Whether the chassis runs at all (link 2 open) is the Fahrwerk's own.
#include <QObject>

namespace drive {

class Fahrwerk;

class DriveCommand : public QObject {
    Q_OBJECT

public:
    enum class Turn { Left, Right };

    explicit DriveCommand(Fahrwerk &fahrwerk, QObject *parent = nullptr);

    // 'v' forward, 'r' backward, 'L' / 'R' turn on the spot, 's' stop.
    char direction() const { return richtung; }
    int speed() const { return speedNow; }
    int steering() const { return steeringNow; }
    bool horn() const { return hornOn; }
    bool hazard() const { return hazardOn; }

    // A letter other than the five changes nothing; the speed stays.
    void setDirection(char direction);
    // 0 (standing) .. 255 (full speed).
    void setSpeed(int speed);
    // Percent, negative to the left; only the inner track is slowed.
    void setSteering(int steering);
    void setHorn(bool on);
    void setHazard(bool on);
    // Direction stop and speed 0.
    void stop();
    // Held, the inner track runs backwards; ended, the steering is straight, not
    // what it was before.
    void startSharpTurn(Turn turn);
    void endSharpTurn();

signals:
    // Any of the above changed.
    void changed();

private:
    void applySpeed();

    Fahrwerk &fahrwerk;
    char richtung = 's';
    int speedNow = 0;
    int steeringNow = 0;
    bool hornOn = false;
    bool hazardOn = false;
};

} // namespace drive
