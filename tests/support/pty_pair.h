#pragma once
// A pseudo-terminal standing in for a serial line: the code under test opens the
// slave by name like a serial device; the test plays the robot on the master.
// The test keeps its own descriptor on the slave to read back the settings the
// code left on it.
#include <string>
#include <string_view>
#include <termios.h>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return master >= 0 && slave >= 0; }
    const std::string &deviceName() const { return slaveName; }
    // The far end itself, for a peer that reads and answers on a thread of its own.
    int farEnd() const { return master; }

    // Writes all of bytes to the line, blocking while the line is full.
    bool send(const std::string &bytes);
    // Writes as much of bytes as the line takes now, without waiting; returns how
    // many bytes went.
    std::size_t sendWhatFits(std::string_view bytes);
    // Reads size bytes that the code under test wrote; fewer if none come for a
    // long while (a failure guard, not a timing).
    std::string receive(std::size_t size);
    // Reads what the code under test wrote and has arrived within waitMs.
    std::string receiveWhatCame(int waitMs);
    // The far end stops reading and the line fills up: writes on the slave
    // until it takes no more, returning how many filler bytes ('F') went in.
    std::size_t fillLine();
    // The far end goes away, as when a USB adapter is pulled.
    void closeMaster();

    termios slaveSettings() const;
    void setSlaveSettings(const termios &settings);

private:
    int master = -1;
    int slave = -1;
    std::string slaveName;
};
