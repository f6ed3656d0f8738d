#pragma once
// A link the test drives, standing in for either transport: it keeps what it
// was sent and tells what the test makes happen. Made as a serial port, it
// answers an open (or refuses it, while refuses is set) and a close at once;
// made as a socket, the test answers, refuses or ends the connection later.
#include "comm/link.h"

#include <utility>

class FakeLink final : public comm::Link {
public:
    FakeLink(bool answersAtOnce, bool refuses) : refuses(refuses), answersAtOnce(answersAtOnce) {}

    void open() override
    {
        if (answersAtOnce)
            refuses ? fail() : answer();
    }
    void close() override
    {
        if (std::exchange(up, false) && answersAtOnce)
            emit closed();
    }
    bool isOpen() const override { return up; }
    bool send(const std::string &text) override
    {
        if (up)
            sent += text;
        return up;
    }

    void answer()
    {
        up = true;
        emit opened();
    }
    void fail() { emit failed({QStringLiteral("refused")}); }
    void hangUp()
    {
        up = false;
        emit closed();
    }
    void lose()
    {
        up = false;
        emit lost();
    }

    std::string sent;
    bool refuses;

private:
    const bool answersAtOnce;
    bool up = false;
};
