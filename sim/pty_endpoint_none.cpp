// Windows has no pseudo-terminals: --pty is refused with the reason, and the TCP
// links work as everywhere.
#include "pty_endpoint.h"

namespace sim {

PtyEndpoint::PtyEndpoint(QObject *parent) : QObject(parent) {}

PtyEndpoint::~PtyEndpoint() = default;

bool PtyEndpoint::open(QString *error, const QString &)
{
    *error = QStringLiteral("--pty: this system has no pseudo-terminals");
    return false;
}

void PtyEndpoint::write(const QByteArray &) {}

} // namespace sim
