#include "TcpDocumentConnection.h"

#include "VirtualPrinterOutput.h"

#include <QTcpSocket>

TcpDocumentConnection::TcpDocumentConnection(QTcpSocket* socket, VirtualPrinterOutput& output,
                                             int idleSeconds, QObject* parent)
    : QObject(parent), socket_(socket), output_(output), idleSeconds_(idleSeconds)
{
    socket_->setParent(this);
    // Past this the kernel holds the bytes, and a fast sender waits.
    socket_->setReadBufferSize(SliceBytes);
    document_ = output_.begin(socket_->peerAddress().toString() + u':' +
                              QString::number(socket_->peerPort()));
    idle_.setSingleShot(true);
    idle_.setInterval(idleSeconds * 1000);
    connect(&idle_, &QTimer::timeout, this, &TcpDocumentConnection::closeIdle);
    connect(socket_, &QTcpSocket::readyRead, this, [this] {
        idle_.start();
        if (!sliceQueued_)
            takeSlice();
    });
    connect(socket_, &QTcpSocket::disconnected, this, &TcpDocumentConnection::takeRest);
    idle_.start();
    if (socket_->bytesAvailable() > 0)
        takeSlice();
}

// One slice now; the next after every other event waiting, other connections' included.
void TcpDocumentConnection::takeSlice()
{
    sliceQueued_ = false;
    if (ended_)
        return;
    const QByteArray answer = output_.take(document_, socket_->read(SliceBytes));
    if (!answer.isEmpty() && socket_->bytesToWrite() < UnreadAnswerBytes)
        socket_->write(answer);
    if (socket_->bytesAvailable() > 0 && !sliceQueued_) {
        sliceQueued_ = true;
        QMetaObject::invokeMethod(this, &TcpDocumentConnection::takeSlice, Qt::QueuedConnection);
    }
}

void TcpDocumentConnection::takeRest()
{
    if (ended_)
        return;
    while (socket_->bytesAvailable() > 0)
        output_.take(document_, socket_->read(SliceBytes));
    end({});
}

void TcpDocumentConnection::closeIdle()
{
    end(QStringLiteral("closed after %1 s without data").arg(idleSeconds_));
    socket_->abort();
}

void TcpDocumentConnection::end(const QString& note)
{
    if (ended_)
        return;
    ended_ = true;
    idle_.stop();
    output_.end(document_, note);
    emit ended();
    deleteLater();
}
