#pragma once

#include <QByteArray>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

// A pseudo-terminal pair standing for a serial line: the port opens the slave by its path,
// the test plays the printer on the master.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0)
            portText_ = QByteArray("COM ") + name;
    }
    ~PseudoTerminal()
    {
        ::close(master_);
        ::close(slave_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // "COM /dev/pts/N", the port text that opens the line.
    QByteArray portText() const { return portText_; }
    int slave() const { return slave_; }
    // What has arrived, once the line has been quiet for a fifth of a second.
    QByteArray readArrived()
    {
        QByteArray received;
        char buffer[4096];
        pollfd readable{master_, POLLIN, 0};
        ssize_t n = 0;
        while (::poll(&readable, 1, 200) > 0 && (n = ::read(master_, buffer, sizeof buffer)) > 0)
            received.append(buffer, n);
        return received;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QByteArray portText_;
};
