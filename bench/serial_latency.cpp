// How long a reply takes from the line to the main thread: bytes written on a
// pty's far end until TCommThread's OnReceive runs on the main thread. The
// worker polls every millisecond, so about one poll interval is expected.
#include "comm/qt_hand_over.h"
#include "comm/tcomm_thread.h"
#include "support/pty_pair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    PtyPair line;
    QtHandOver handOver;
    TCommThread port(handOver);
    port.setDeviceName(line.deviceName());
    if (!line.isValid() || !port.Open()) {
        std::fprintf(stderr, "no pty to measure on\n");
        return 1;
    }

    std::vector<double> latenciesMs;
    QElapsedTimer clock;
    QEventLoop loop;
    port.OnReceive = [&](std::string) {
        latenciesMs.push_back(clock.nsecsElapsed() / 1e6);
        loop.quit();
    };
    for (int round = 0; round < rounds; ++round) {
        clock.start();
        line.send("A42\r");
        QTimer::singleShot(1000, &loop, &QEventLoop::quit); // a lost reply must not hang the run
        loop.exec();
    }
    port.Close();

    std::sort(latenciesMs.begin(), latenciesMs.end());
    const auto at = [&](double share) { return latenciesMs[std::size_t(share * (latenciesMs.size() - 1))]; };
    std::printf("serial reply to main thread, %zu of %d rounds: median %.3f ms, p95 %.3f ms, max %.3f ms\n",
                latenciesMs.size(), rounds, at(0.5), at(0.95), latenciesMs.back());
    return 0;
}
