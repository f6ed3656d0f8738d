#pragma once
// Lets the main thread's event loop run (timers, sockets, hand-overs) while a
// benchmark waits.
#include <QEventLoop>
#include <QTimer>

namespace bench {

inline void runEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace bench
