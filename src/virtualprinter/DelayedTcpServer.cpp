#include "DelayedTcpServer.h"

#include <QTimer>

void DelayedTcpServer::incomingConnection(qintptr descriptor)
{
    if (delayMs_ <= 0) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    QTimer::singleShot(delayMs_, this, [this, descriptor] {
        QTcpServer::incomingConnection(descriptor);
        emit newConnection();
    });
}
