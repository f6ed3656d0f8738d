#pragma once
// One arm joint: its SSC-32 channel, travel limits, target position and optional
// speed. Every setter validates; a refused value is reported to the operator and
// the field keeps its old value, so callers read values back when they need them.
#include <cstdint>
#include <string>

class Servo {
public:
    Servo(int pKanal, int pLimitMin, int pLimitMax);
    Servo(const Servo &) = delete;
    Servo &operator=(const Servo &) = delete;

    virtual void setKanal(int pKanal);
    virtual int getKanal();
    virtual void setPosition(int pPosition);
    virtual int getPosition();
    virtual void setSpeed(int pSpeed);
    virtual int getSpeed();
    virtual void setLimit(int pLimitMin, int pLimitMax);
    virtual int getLimitMin();
    virtual int getLimitMax();
    // The joint's fragment of a group move command, e.g. "#16P1500S300".
    virtual std::string getCommand();

    static constexpr int kMaxSpeed = 0xFFFF;

private:
    std::int32_t kanal = 0;
    std::int32_t position = 0;
    std::int32_t speed = 0;
    std::int32_t limitMin = 0;
    std::int32_t limitMax = 0;
    bool speedOn = false;
    std::string command;
    std::string speedText;
};
