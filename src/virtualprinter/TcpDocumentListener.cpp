#include "TcpDocumentListener.h"

#include "TcpDocumentConnection.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTcpSocket>

TcpDocumentListener::TcpDocumentListener(VirtualPrinterOutput& output, int idleSeconds,
                                         QObject* parent)
    : QObject(parent), output_(output), idleSeconds_(idleSeconds)
{
    // Connections not yet served stay in the kernel's backlog, not in this process.
    server_.setMaxPendingConnections(1);
    connect(&server_, &QTcpServer::newConnection, this, &TcpDocumentListener::accept);
    connect(&server_, &QTcpServer::acceptError, this, &TcpDocumentListener::waitForDescriptor);
    retry_.setSingleShot(true);
    retry_.setInterval(DescriptorRetryMs);
    connect(&retry_, &QTimer::timeout, this, &TcpDocumentListener::accept);
}

bool TcpDocumentListener::listen(const QString& host, quint16 port, QString& failure)
{
    QHostAddress address(host);
    if (address.isNull()) {
        const QHostInfo info = QHostInfo::fromName(host);
        if (info.addresses().isEmpty()) {
            failure = QStringLiteral("cannot find the address of %1").arg(host);
            return false;
        }
        address = info.addresses().first();
    }
    if (!server_.listen(address, port)) {
        failure =
            QStringLiteral("listen on %1:%2: %3").arg(host).arg(port).arg(server_.errorString());
        return false;
    }
    return true;
}

QString TcpDocumentListener::address() const
{
    const QHostAddress host = server_.serverAddress();
    const QString shown = host.protocol() == QAbstractSocket::IPv6Protocol
                              ? u'[' + host.toString() + u']'
                              : host.toString();
    return shown + u':' + QString::number(server_.serverPort());
}

void TcpDocumentListener::accept()
{
    while (connections_ < MostConnections) {
        QTcpSocket* peer = server_.nextPendingConnection();
        if (!peer)
            break;
        ++connections_;
        auto* connection = new TcpDocumentConnection(peer, output_, idleSeconds_, this);
        connect(connection, &TcpDocumentConnection::ended, this, [this] {
            --connections_;
            emit documentEnded();
            accept();
        });
    }
    if (connections_ < MostConnections) {
        retry_.stop();
        server_.resumeAccepting();
    } else {
        server_.pauseAccepting();
    }
}

// Out of descriptors: wait until one of ours closes or the retry is due, instead of asking
// the kernel again at once.
void TcpDocumentListener::waitForDescriptor()
{
    server_.pauseAccepting();
    retry_.start();
}
