#pragma once
// The hand-over over Qt's event loop: a worker's block becomes a blocking queued
// call to an object living in the main thread.
#include "comm/main_thread_hand_over.h"

#include <QObject>

class QtHandOver final : public QObject, public MainThreadHandOver {
    Q_OBJECT

public:
    // Create it on the main thread: blocks run in the thread it lives in.
    explicit QtHandOver(QObject *parent = nullptr);

    void run(std::function<void()> block) override;
    void pump() override;

protected:
    bool event(QEvent *event) override;

private slots:
    // Takes the worker's std::function<void()> by address. A slot rather than a
    // lambda: a lambda's call wrapper still reads the worker's stack after the
    // block has run, beyond where ThreadSanitizer can be told of the hand-back.
    void runBlock(void *block);
};
