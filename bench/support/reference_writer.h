#pragma once
// The chassis cadence's same-run reference: a bare 50 ms QTimer on the main
// thread writing one short text per tick to a pty of its own, with nothing of
// the console in it.
#include <QTimer>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace bench {

class ReferenceWriter {
public:
    static constexpr int kTickMs = 50;

    explicit ReferenceWriter(const std::string &device)
        : line(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios raw {};
        ::tcgetattr(line, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(line, TCSANOW, &raw);
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(kTickMs);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            [[maybe_unused]] const ssize_t written = ::write(line, "R\r", 2);
        });
        timer.start();
    }
    ~ReferenceWriter() { ::close(line); }
    bool isValid() const { return line >= 0; }

private:
    int line;
    QTimer timer;
};

} // namespace bench
