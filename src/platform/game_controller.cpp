#include "platform/game_controller.h"

// Our own main() starts the program, on every platform.
#define SDL_MAIN_HANDLED
#include <SDL.h>

namespace platform {

namespace {
constexpr int kHotPlugCheckMs = 1000;
// Well within the chassis' 50 ms command rotation.
constexpr int kDrivingPollMs = 40;
} // namespace

GameController::GameController(QObject *parent) : QObject(parent), pollTimer(this)
{
    pollTimer.setObjectName(QStringLiteral("GamepadPoll"));
    pollTimer.setTimerType(Qt::CoarseTimer);
    // SIGINT and SIGTERM stay the application's.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetMainReady();
    started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started)
        return; // no pad can be used; the console runs as without one
    // The state is read, not queued as events nobody collects.
    SDL_GameControllerEventState(SDL_IGNORE);
    SDL_JoystickEventState(SDL_IGNORE);
    connect(&pollTimer, &QTimer::timeout, this, &GameController::poll);
    poll();
    pollTimer.start();
}

GameController::~GameController()
{
    if (!started)
        return;
    closePad();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

// Updating also looks for pads plugged in or out since the last call.
void GameController::poll()
{
    SDL_GameControllerUpdate();
    if (pad && !SDL_GameControllerGetAttached(pad)) {
        closePad();
        emit padChanged(name);
        tell(PadState());
    }
    if (!pad)
        openFirstPad();
    if (pad)
        tell(read());
    pollTimer.setInterval(pad ? kDrivingPollMs : kHotPlugCheckMs);
}

void GameController::openFirstPad()
{
    for (int index = 0; index < SDL_NumJoysticks() && !pad; ++index) {
        if (SDL_IsGameController(index))
            pad = SDL_GameControllerOpen(index);
    }
    if (!pad)
        return;
    name = QString::fromUtf8(SDL_GameControllerName(pad));
    emit padChanged(name);
}

void GameController::closePad()
{
    if (!pad)
        return;
    SDL_GameControllerClose(pad);
    pad = nullptr;
    name.clear();
}

PadState GameController::read() const
{
    PadState state;
    state.leftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    state.leftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    state.rightTrigger = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    state.a = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_A);
    state.b = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_B);
    state.leftShoulder = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    state.rightShoulder = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    state.rightY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY);
    state.dpadUp = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP);
    state.dpadDown = SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    return state;
}

// Only a change is told: a pad at rest costs a read and a comparison.
void GameController::tell(const PadState &state)
{
    if (state == current)
        return;
    current = state;
    emit stateChanged(current);
}

} // namespace platform
