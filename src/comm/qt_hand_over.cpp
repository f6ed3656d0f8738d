#include "comm/qt_hand_over.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSemaphore>
#include <QThread>

// Debian's Qt is not built with ThreadSanitizer, so the ordering its semaphore
// gives a blocking queued call is invisible to it; state that ordering here.
#if defined(__SANITIZE_THREAD__)
#define VELMORA_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELMORA_TSAN 1
#endif
#endif

#ifdef VELMORA_TSAN
extern "C" void __tsan_acquire(void *address);
extern "C" void __tsan_release(void *address);
#define HAND_OVER_RELEASE(address) __tsan_release(address)
#define HAND_OVER_ACQUIRE(address) __tsan_acquire(address)
#else
#define HAND_OVER_RELEASE(address) ((void)(address))
#define HAND_OVER_ACQUIRE(address) ((void)(address))
#endif

namespace comm {

namespace {

const QEvent::Type kHandOverEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// A worker's block on its way to the main thread. The worker waits until the
// event is gone: run, or discarded with the object it was posted to.
class HandOverEvent final : public QEvent {
public:
    HandOverEvent(std::function<void()> &block, QSemaphore &handled)
        : QEvent(kHandOverEvent), block(block), handled(handled)
    {
    }
    ~HandOverEvent() override
    {
        HAND_OVER_ACQUIRE(this); // discarded unrun, it is still freed after it was built
        HAND_OVER_RELEASE(&handled); // the worker may reuse its stack once it is released
        handled.release();
    }

    std::function<void()> &block;

private:
    QSemaphore &handled;
};

} // namespace

QtHandOver::QtHandOver(QObject *parent)
    : QObject(parent)
{
}

// A plain posted event rather than a blocking queued call: no method looked up
// by name and no arguments copied for every block.
void QtHandOver::run(std::function<void()> block)
{
    if (QThread::currentThread() == thread()) {
        block();
        return;
    }
    QSemaphore handled;
    auto *event = new HandOverEvent(block, handled);
    HAND_OVER_RELEASE(event); // the event is built before the main thread reads it
    QCoreApplication::postEvent(this, event);
    handled.acquire();
    HAND_OVER_ACQUIRE(&handled);
}

bool QtHandOver::event(QEvent *event)
{
    HAND_OVER_ACQUIRE(event); // before its type or the block is read
    if (event->type() != kHandOverEvent)
        return QObject::event(event);
    static_cast<HandOverEvent *>(event)->block();
    return true;
}

void QtHandOver::pump()
{
    QCoreApplication::sendPostedEvents(this, kHandOverEvent);
}

} // namespace comm
