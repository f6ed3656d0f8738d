#pragma once
// A hand-over the test drives by hand: a worker's block waits until the test
// pumps, so a test can act while the worker is known to be inside a hand-over.
#include "comm/main_thread_hand_over.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

class ManualHandOver final : public comm::MainThreadHandOver {
public:
    void run(std::function<void()> block) override;
    void pump() override;

    // Waits until count blocks are waiting; false if none come for a long while
    // (a failure guard, not a timing).
    bool waitForWaiting(std::size_t count = 1);
    std::size_t waiting() const;

private:
    struct Waiting {
        std::function<void()> block;
        bool done = false;
    };

    mutable std::mutex lock;
    std::condition_variable changed;
    std::deque<Waiting *> queue;
};
