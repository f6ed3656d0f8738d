#pragma once
// The optional --log file: every received line with its time and link, flushed
// line by line so tests and benchmarks can read it while the simulator runs.
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <string>

namespace sim {

class ReceiveLog {
public:
    explicit ReceiveLog(const QElapsedTimer &clock) : clock(clock) {}

    bool open(const QString &path, QString *error);
    // Does nothing while no file is open.
    void record(const std::string &link, const std::string &line);

private:
    const QElapsedTimer &clock;
    QFile file;
};

} // namespace sim
