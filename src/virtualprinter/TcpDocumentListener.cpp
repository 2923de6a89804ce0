#include "TcpDocumentListener.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTcpSocket>

TcpDocumentListener::TcpDocumentListener(QObject* parent) : QObject(parent)
{
    connect(&server_, &QTcpServer::newConnection, this, &TcpDocumentListener::accept);
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
    while (QTcpSocket* peer = server_.nextPendingConnection()) {
        auto* received = new QByteArray;
        const QString from =
            peer->peerAddress().toString() + u':' + QString::number(peer->peerPort());
        connect(peer, &QTcpSocket::readyRead, peer,
                [peer, received] { *received += peer->readAll(); });
        connect(peer, &QTcpSocket::disconnected, this, [this, peer, received, from] {
            *received += peer->readAll();
            const QByteArray document = *received;
            delete received;
            peer->deleteLater();
            emit documentReceived(document, from);
        });
    }
}
