#pragma once
// velmora-sim as a child process: the endpoints it printed, its status lines
// and its receive log.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

class SimulatorProcess {
public:
    explicit SimulatorProcess(QString program);

    // TCP ports of its own choosing, the log at logPath; true once it is ready.
    bool start(const QString &logPath, const QStringList &moreArguments = {});
    void stop();

    // "arm-tcp" -> "127.0.0.1:41234", "chassis-pty" -> "/dev/pts/5".
    QString endpoint(const QString &name) const;

    // Marks the output seen so far; statusSince() then looks only at later lines.
    qsizetype mark() const { return lines.size(); }
    bool statusSince(qsizetype mark, const QRegularExpression &pattern) const;
    QString latestStatus() const;

    QString logText();

private:
    void collectLines();

    const QString program;
    QProcess process;
    QFile log;
    QByteArray pending;
    QStringList lines;
};
