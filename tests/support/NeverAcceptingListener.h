#pragma once

#include <QTcpSocket>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A loopback listener that never accepts, its backlog filled first, so that further
// connection attempts go unanswered: a printer that is switched on but does not answer.
class NeverAcceptingListener
{
public:
    NeverAcceptingListener() : descriptor_(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(descriptor_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(descriptor_, 0);
        ::getsockname(descriptor_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        for (QTcpSocket& filler : fillers_) {
            filler.connectToHost(QHostAddress::LocalHost, port_);
            filler.waitForConnected(300);
        }
    }
    ~NeverAcceptingListener() { ::close(descriptor_); }

    quint16 port() const { return port_; }

private:
    int descriptor_;
    quint16 port_ = 0;
    QTcpSocket fillers_[4];
};
