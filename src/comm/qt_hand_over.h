#pragma once
// The hand-over over Qt's event loop: a worker's block becomes an event posted
// to an object living in the main thread, and the worker waits until it ran.
#include "comm/main_thread_hand_over.h"

#include <QObject>

namespace comm {

class QtHandOver final : public QObject, public MainThreadHandOver {
    Q_OBJECT

public:
    // Create it on the main thread: blocks run in the thread it lives in.
    explicit QtHandOver(QObject *parent = nullptr);

    void run(std::function<void()> block) override;
    void pump() override;

protected:
    bool event(QEvent *event) override;
};

} // namespace comm
