#pragma once

#include <QTcpServer>

// A server that takes up each connection only a while after it arrives, as a slow printer
// would: until then its bytes and its end wait unread in the kernel, so nothing of the
// document is answered or ended sooner.
class DelayedTcpServer : public QTcpServer
{
    Q_OBJECT

public:
    using QTcpServer::QTcpServer;

    void setDelay(int milliseconds) { delayMs_ = milliseconds; }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    int delayMs_ = 0;
};
