#pragma once
// How a worker thread gets a block of work run on the main thread and waits for
// it. The GUI supplies one over Qt's event loop; tests supply one they drive by
// hand.
#include <functional>

namespace comm {

class MainThreadHandOver {
public:
    virtual ~MainThreadHandOver() = default;

    // Worker side: runs block on the main thread and returns once it has run, or
    // once the main thread has run it while pumping. Called on the main thread
    // itself, it runs the block at once.
    virtual void run(std::function<void()> block) = 0;

    // Main-thread side: runs the blocks that workers are waiting on now. Lets the
    // main thread free a worker while it waits for that worker to end.
    virtual void pump() = 0;
};

} // namespace comm
