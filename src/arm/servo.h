#pragma once
// One arm joint: its SSC-32 channel, travel limits, target position and optional
// speed. Every setter validates; a refused value is reported to the operator and
// the field keeps its old value, so callers read values back when they need them.
#include <array>
#include <cstdint>
#include <string>

namespace arm {

class Servo {
public:
    Servo(int pKanal, int pLimitMin, int pLimitMax);
    Servo(const Servo &) = delete;
    Servo &operator=(const Servo &) = delete;

    void setKanal(int pKanal);
    int getKanal() const { return kanal; }
    void setPosition(int pPosition);
    int getPosition() const { return position; }
    void setSpeed(int pSpeed);
    int getSpeed() const { return speed; }
    void setLimit(int pLimitMin, int pLimitMax);
    int getLimitMin() const { return limitMin; }
    int getLimitMax() const { return limitMax; }
    // The joint's fragment of a group move command, e.g. "#16P1500S300".
    std::string getCommand() const;

    static constexpr int kMaxSpeed = 0xFFFF;

private:
    std::int32_t kanal = 0;
    std::int32_t position = 0;
    std::int32_t speed = 0;
    std::int32_t limitMin = 0;
    std::int32_t limitMax = 0;
    bool speedOn = false;
};

// The arm's joints, always in this order: Basis, Schulter, Ellenbogen, Handgelenk, Greifer.
constexpr int kJoints = 5;
using Servos = std::array<const Servo *, kJoints>;

} // namespace arm
