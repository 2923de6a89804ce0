#pragma once

#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

// A printer on loopback: takes one connection per document and reads it to its end.
class LoopbackPrinter
{
public:
    explicit LoopbackPrinter(const QHostAddress& address = QHostAddress::LocalHost,
                             quint16 port = 0)
    {
        server_.listen(address, port);
    }

    bool listening() const { return server_.isListening(); }
    quint16 port() const { return server_.serverPort(); }
    // "127.0.0.1:port", as the window's address box would hold it.
    QByteArray address() const { return "127.0.0.1:" + QByteArray::number(port()); }
    // The next connection, not yet read.
    std::unique_ptr<QTcpSocket> acceptConnection(int boundMs = 5000)
    {
        if (!server_.hasPendingConnections() && !server_.waitForNewConnection(boundMs))
            return nullptr;
        std::unique_ptr<QTcpSocket> peer(server_.nextPendingConnection());
        peer->setParent(nullptr);
        return peer;
    }
    // The next document, read until the sender closes; empty when none came within the bound.
    QByteArray receiveDocument(int boundMs = 10000)
    {
        const QDeadlineTimer deadline(boundMs);
        const std::unique_ptr<QTcpSocket> peer = acceptConnection(boundMs);
        QByteArray received;
        while (peer && peer->state() == QAbstractSocket::ConnectedState && !deadline.hasExpired())
            received += peer->waitForReadyRead(50) ? peer->readAll() : QByteArray();
        return peer ? received + peer->readAll() : received;
    }

private:
    QTcpServer server_;
};
