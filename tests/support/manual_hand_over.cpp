#include "support/manual_hand_over.h"

#include <chrono>

void ManualHandOver::run(std::function<void()> block)
{
    Waiting waiting {std::move(block)};
    std::unique_lock<std::mutex> guard(lock);
    queue.push_back(&waiting);
    changed.notify_all();
    changed.wait(guard, [&] { return waiting.done; });
}

void ManualHandOver::pump()
{
    std::deque<Waiting *> taken;
    {
        std::lock_guard<std::mutex> guard(lock);
        taken.swap(queue);
    }
    for (Waiting *waiting : taken) {
        waiting->block();
        std::lock_guard<std::mutex> guard(lock);
        waiting->done = true;
        changed.notify_all();
    }
}

bool ManualHandOver::waitForWaiting(std::size_t count)
{
    std::unique_lock<std::mutex> guard(lock);
    return changed.wait_for(guard, std::chrono::seconds(10), [&] { return queue.size() >= count; });
}

std::size_t ManualHandOver::waiting() const
{
    std::lock_guard<std::mutex> guard(lock);
    return queue.size();
}
