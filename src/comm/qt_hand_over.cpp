#include "comm/qt_hand_over.h"

#include <QCoreApplication>
#include <QEvent>
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

QtHandOver::QtHandOver(QObject *parent)
    : QObject(parent)
{
}

void QtHandOver::run(std::function<void()> block)
{
    if (QThread::currentThread() == thread()) {
        block();
        return;
    }
    void *blockAddress = &block;
    HAND_OVER_RELEASE(this);
    QMetaObject::invokeMethod(this, "runBlock", Qt::BlockingQueuedConnection,
                              Q_ARG(void *, blockAddress));
    HAND_OVER_ACQUIRE(this);
}

bool QtHandOver::event(QEvent *event)
{
    HAND_OVER_ACQUIRE(this); // before the call reads the worker's arguments
    return QObject::event(event);
}

void QtHandOver::runBlock(void *block)
{
    (*static_cast<std::function<void()> *>(block))();
    HAND_OVER_RELEASE(this); // the worker may reuse its stack once it is released
}

void QtHandOver::pump()
{
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
