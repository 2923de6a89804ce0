#pragma once

#include <QTcpSocket>

// A loopback listener that never accepts, its backlog filled first, so that further
// connection attempts go unanswered: a printer that is switched on but does not answer.
class NeverAcceptingListener
{
public:
    NeverAcceptingListener();
    ~NeverAcceptingListener();
    NeverAcceptingListener(const NeverAcceptingListener&) = delete;
    NeverAcceptingListener& operator=(const NeverAcceptingListener&) = delete;

    quint16 port() const { return port_; }

private:
    int descriptor_ = -1;
    quint16 port_ = 0;
    QTcpSocket fillers_[4];
};
