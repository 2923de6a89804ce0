#pragma once

#include <poll.h>
#include <pty.h>
#include <string>
#include <unistd.h>

// A pseudo-terminal pair standing for a serial line: the port opens the slave by its path,
// the test plays the printer on the master.
struct PseudoTerminal {
    int master = -1, slave = -1;
    std::string portText; // "COM /dev/pts/N"

    PseudoTerminal()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0)
            portText = std::string("COM ") + name;
    }
    ~PseudoTerminal()
    {
        ::close(master);
        ::close(slave);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;

    std::string path() const { return portText.substr(4); }
    // What has arrived, once the line has been quiet for a fifth of a second.
    std::string readArrived() const
    {
        std::string received;
        char buffer[4096];
        pollfd readable{master, POLLIN, 0};
        for (ssize_t n; ::poll(&readable, 1, 200) > 0 && (n = ::read(master, buffer, 4096)) > 0;)
            received.append(buffer, std::size_t(n));
        return received;
    }
};
