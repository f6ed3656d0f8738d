#pragma once
// The game controller in use, through SDL's game-controller layout (the common
// pads mapped to one set of sticks, triggers and buttons). The first pad found
// is used until it is unplugged; pads plugged in later are found by a check
// once a second, the only wake-up while no pad is there. While one is, its
// controls are read often enough to drive by, and a change is told at once.
#include "platform/pad_state.h"

#include <QObject>
#include <QString>
#include <QTimer>

struct _SDL_GameController;

namespace platform {

class GameController : public QObject {
    Q_OBJECT

public:
    explicit GameController(QObject *parent = nullptr);
    ~GameController() override;

    // Empty while no pad is in use.
    QString padName() const { return name; }
    // All at rest while no pad is in use.
    const PadState &state() const { return current; }

signals:
    void padChanged(const QString &name);
    void stateChanged(const platform::PadState &state);

private:
    void poll();
    void openFirstPad();
    void closePad();
    PadState read() const;
    void tell(const PadState &state);

    bool started = false;
    _SDL_GameController *pad = nullptr;
    QString name;
    PadState current;
    QTimer pollTimer;
};

} // namespace platform
