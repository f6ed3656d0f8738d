#pragma once
// A gamepad plugged in for a test or a benchmark: SDL's virtual joystick in the
// game-controller layout, needing no hardware and no display. The console finds
// it by its hot-plug check. Real pads on the machine are ignored from the first
// one made on.
#include <string>

struct _SDL_Joystick;

class VirtualPad {
public:
    explicit VirtualPad(const std::string &name);
    ~VirtualPad();
    VirtualPad(const VirtualPad &) = delete;
    VirtualPad &operator=(const VirtualPad &) = delete;

    // Raw axis values: sticks -32768..32767, the trigger -32768 (released) .. 32767.
    void move(int axis, int raw);
    // The right trigger held, the left stick forward by a share of its travel.
    void drive(double forward);
    void unplug();

private:
    int index = -1;
    _SDL_Joystick *joystick = nullptr;
};
