#pragma once
// One way to a controller, whatever carries it: its owner opens and closes it,
// it carries texts both ways and tells what happens to it. Every signal arrives
// on the main thread, from the event loop or from within the call that caused it.
#include <QObject>
#include <QString>
#include <string>

namespace comm {

// Why a link failed: the reason in the system's words, and whether the user's
// account lacks the right to use the device, which the operator can put right.
struct LinkFailure {
    QString reason;
    bool noPermission = false;
};

class Link : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts to open the link; opened() or failed() tells how it went.
    virtual void open() = 0;
    // Ends an open link (closed() follows) or gives up an attempt without a word.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // True when the link took the whole text; nothing of it goes out otherwise.
    virtual bool send(const std::string &text) = 0;

signals:
    void opened();
    // Closed by its owner, or by the far end (which is no fault).
    void closed();
    // The device went away under an open link; the link is closed by then.
    void lost();
    void received(const std::string &text);
    // An attempt to open failed, or an open link met an error.
    void failed(const comm::LinkFailure &failure);
};

} // namespace comm
