#include "pty_endpoint.h"

#include <QFile>
#include <QSocketNotifier>

#include <cstdio>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

PtyEndpoint::PtyEndpoint(QObject *parent) : QObject(parent) {}

// A link left by a simulator that was killed points nowhere; the next one replaces it.
PtyEndpoint::~PtyEndpoint()
{
    if (!link.isEmpty() && QFile::symLinkTarget(link) == path)
        QFile::remove(link);
    delete notifier;
    if (master >= 0)
        ::close(master);
    if (slave >= 0)
        ::close(slave);
}

bool PtyEndpoint::open(QString *error, const QString &linkPath)
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    if (::openpty(&master, &slave, name, &raw, nullptr) != 0) {
        *error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    path = QString::fromLocal8Bit(name);
    if (!linkPath.isEmpty()) {
        // Made beside it and renamed over it, so the name never points nowhere
        // while it changes.
        const QString fresh = linkPath + QStringLiteral(".new");
        QFile::remove(fresh);
        const bool made = QFile::link(path, fresh)
                          && std::rename(QFile::encodeName(fresh).constData(),
                                         QFile::encodeName(linkPath).constData()) == 0;
        if (!made) {
            *error = QStringLiteral("--pty-link: cannot make %1").arg(linkPath);
            return false;
        }
        link = linkPath;
    }
    notifier = new QSocketNotifier(master, QSocketNotifier::Read);
    connect(notifier, &QSocketNotifier::activated, this, &PtyEndpoint::readAvailable);
    return true;
}

void PtyEndpoint::readAvailable()
{
    QByteArray bytes;
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::read(master, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, n);
    // With the slave held open a read error means the pty itself is broken: stop
    // listening rather than spin on a descriptor that is always readable.
    if (n < 0 && errno != EAGAIN && errno != EINTR)
        notifier->setEnabled(false);
    if (!bytes.isEmpty())
        emit received(bytes);
}

void PtyEndpoint::write(const QByteArray &bytes)
{
    if (master < 0 || bytes.isEmpty())
        return;
    // Replies are a few bytes; the pty buffer takes them unless nobody has read for
    // kilobytes, and then dropping them is what a serial line would do too.
    const ssize_t written = ::write(master, bytes.constData(), size_t(bytes.size()));
    Q_UNUSED(written)
}

} // namespace sim
