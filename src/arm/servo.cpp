#include "arm/servo.h"

#include "toolkit/message_sink.h"

namespace arm {

namespace {

namespace msg = toolkit::msg;

void warn(const platform::UiText &text)
{
    msg::show(msg::Kind::Warning, msg::Buttons::Yes, text);
}

const platform::UiText kKanalFalsch = UI_TEXT("arm::Servo", "Fehler: pKanal falsch!");
const platform::UiText kLimitMinFalsch = UI_TEXT("arm::Servo", "Fehler: pLimitMin falsch!");
const platform::UiText kLimitMaxFalsch = UI_TEXT("arm::Servo", "Fehler: pLimitMax falsch!");

// The constructor accepts a narrower lower bound than setLimit does.
constexpr int kConstructorLowest = 750;
constexpr int kLowest = 500;
constexpr int kHighest = 2500;
constexpr int kHighestChannel = 31;
constexpr int kStartPosition = 1500;

} // namespace

Servo::Servo(int pKanal, int pLimitMin, int pLimitMax)
{
    if (pKanal >= 0 && pKanal <= kHighestChannel)
        kanal = pKanal;
    else
        warn(kKanalFalsch);
    if (pLimitMin >= kConstructorLowest && pLimitMin < pLimitMax)
        limitMin = pLimitMin;
    else
        warn(kLimitMinFalsch);
    if (pLimitMax <= kHighest && pLimitMax > pLimitMin)
        limitMax = pLimitMax;
    else
        warn(kLimitMaxFalsch);
    position = kStartPosition;
    setSpeed(0);
}

void Servo::setKanal(int pKanal)
{
    if (pKanal >= 0 && pKanal <= kHighestChannel)
        kanal = pKanal;
    else
        warn(kKanalFalsch);
}

void Servo::setPosition(int pPosition)
{
    if (pPosition >= limitMin && pPosition <= limitMax)
        position = pPosition;
    else
        warn(UI_TEXT("arm::Servo", "Fehler: pPosition falsch!!"));
}

void Servo::setSpeed(int pSpeed)
{
    if (pSpeed >= 1 && pSpeed <= kMaxSpeed) {
        speed = pSpeed;
        speedOn = true;
    } else if (pSpeed <= 0) {
        speed = 0;
        speedOn = false;
    } else {
        warn(UI_TEXT("arm::Servo", "Fehler: Speed zu groß!"));
    }
}

// Each limit is checked against the other argument, not the stored limit, so one
// call may store one limit and refuse the other.
void Servo::setLimit(int pLimitMin, int pLimitMax)
{
    if (pLimitMin >= kLowest && pLimitMin < pLimitMax) {
        limitMin = pLimitMin;
        if (position < limitMin)
            position = limitMin;
    } else {
        warn(kLimitMinFalsch);
    }
    if (pLimitMax <= kHighest && pLimitMax > pLimitMin) {
        limitMax = pLimitMax;
        if (position > limitMax)
            position = limitMax;
    } else {
        warn(kLimitMaxFalsch);
    }
}

std::string Servo::getCommand() const
{
    const std::string speedText = speedOn ? "S" + std::to_string(speed) : std::string();
    return "#" + std::to_string(kanal) + "P" + std::to_string(position) + speedText;
}

} // namespace arm
