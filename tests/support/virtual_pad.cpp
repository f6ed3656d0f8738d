#include "support/virtual_pad.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cmath>

VirtualPad::VirtualPad(const std::string &name)
{
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_IGNORE_DEVICES_EXCEPT, "0x0000/0x0000");
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = name.c_str();
    index = SDL_JoystickAttachVirtualEx(&desc);
    joystick = SDL_JoystickOpen(index);
    move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
}

VirtualPad::~VirtualPad()
{
    unplug();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void VirtualPad::move(int axis, int raw) { SDL_JoystickSetVirtualAxis(joystick, axis, Sint16(raw)); }

void VirtualPad::drive(double forward)
{
    move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    move(SDL_CONTROLLER_AXIS_LEFTY, int(std::lround(-forward * 32767)));
}

void VirtualPad::unplug()
{
    if (!joystick)
        return;
    SDL_JoystickClose(joystick);
    SDL_JoystickDetachVirtual(index);
    joystick = nullptr;
}
