#include "support/simulator_process.h"

#include <QtTest>

namespace {

// Generous: the simulator reports once a second and the machine may be busy.
constexpr int kReadyTimeoutMs = 10000;

bool isStatus(const QString &line) { return line.contains(QLatin1String(" s | ")); }

} // namespace

SimulatorProcess::SimulatorProcess(QString program) : program(std::move(program)) {}

bool SimulatorProcess::start(const QString &logPath, const QStringList &moreArguments)
{
    log.setFileName(logPath);
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, [this] { collectLines(); });
    process.start(program, QStringList{"--arm-port", "0", "--chassis-port", "0", "--log", logPath} + moreArguments);
    return process.waitForStarted() &&
           QTest::qWaitFor([this] { return lines.contains(QStringLiteral("ready")); }, kReadyTimeoutMs);
}

void SimulatorProcess::stop()
{
    process.terminate();
    process.waitForFinished();
}

QString SimulatorProcess::endpoint(const QString &name) const
{
    // A path may hold blanks (a temporary directory named after the application).
    for (const QString &line : lines) {
        if (line.section(QLatin1Char(' '), 0, 0) == name)
            return line.section(QLatin1Char(' '), 1);
    }
    return QString();
}

bool SimulatorProcess::statusSince(qsizetype mark, const QRegularExpression &pattern) const
{
    for (qsizetype i = mark; i < lines.size(); ++i) {
        if (isStatus(lines[i]) && pattern.match(lines[i]).hasMatch())
            return true;
    }
    return false;
}

QString SimulatorProcess::latestStatus() const
{
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (isStatus(lines[i]))
            return lines[i];
    }
    return QString();
}

QString SimulatorProcess::logText()
{
    if (!log.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromLatin1(log.readAll());
    log.close();
    return text;
}

void SimulatorProcess::collectLines()
{
    pending += process.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = pending.indexOf('\n')) >= 0) {
        lines << QString::fromLatin1(pending.left(end));
        pending.remove(0, end + 1);
    }
}
