#include "drive/drive_command.h"

#include "drive/fahrwerk.h"

#include <string_view>

namespace drive {

namespace {
constexpr std::string_view kDirections = "vrLRs";
} // namespace

DriveCommand::DriveCommand(Fahrwerk &fahrwerk, QObject *parent) : QObject(parent), fahrwerk(fahrwerk) {}

void DriveCommand::setDirection(char direction)
{
    if (direction == richtung || kDirections.find(direction) == std::string_view::npos)
        return;
    richtung = direction;
    fahrwerk.setRichtung(direction);
    emit changed();
}

void DriveCommand::setSpeed(int speed)
{
    if (speed == speedNow)
        return;
    speedNow = speed;
    applySpeed();
}

void DriveCommand::setSteering(int steering)
{
    if (steering == steeringNow)
        return;
    steeringNow = steering;
    applySpeed();
}

void DriveCommand::applySpeed()
{
    fahrwerk.setSpeed(speedNow, steeringNow);
    emit changed();
}

void DriveCommand::setHorn(bool on)
{
    if (on == hornOn)
        return;
    hornOn = on;
    fahrwerk.setHupe(on);
    emit changed();
}

void DriveCommand::setHazard(bool on)
{
    if (on == hazardOn)
        return;
    hazardOn = on;
    fahrwerk.setWarnblink(on);
    emit changed();
}

void DriveCommand::stop()
{
    setDirection('s');
    setSpeed(0);
}

void DriveCommand::startSharpTurn(Turn turn)
{
    setSteering(turn == Turn::Left ? -kSharpTurnSteering : kSharpTurnSteering);
}

void DriveCommand::endSharpTurn() { setSteering(0); }

} // namespace drive
