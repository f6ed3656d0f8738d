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

    // With a link path, the terminal is also reached by that name: a symbolic
    // link that the next simulator started with the same path points at its
    // own terminal, as a device that comes back under its name.
    bool open(QString *error, const QString &linkPath = QString());
    // The link where there is one.
    QString devicePath() const { return link.isEmpty() ? path : link; }
    void write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);

private:
    void readAvailable();

    int master = -1;
    // Held open so the master keeps working while no console has the device open.
    int slave = -1;
    QString path;
    QString link;
    QSocketNotifier *notifier = nullptr;
};

} // namespace sim
