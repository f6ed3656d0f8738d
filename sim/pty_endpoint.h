#pragma once
// A pseudo-terminal in raw mode standing in for a serial cable: the console opens
// the slave device, the simulator talks through the master side.
#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace sim {

class PtyEndpoint : public QObject {
    Q_OBJECT
public:
    explicit PtyEndpoint(QObject *parent = nullptr);
    ~PtyEndpoint() override;

    bool open(QString *error);
    QString devicePath() const { return path; }
    void write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);

private:
    void readAvailable();

    int master = -1;
    // Held open so the master keeps working while no console has the device open.
    int slave = -1;
    QString path;
    QSocketNotifier *notifier = nullptr;
};

} // namespace sim
