#include "TcpPrinterPort.h"

#include "QueuedDeviceWriting.h"

bool TcpPrinterPort::failSocket(const QString& action, int boundMs)
{
    const QString answer = socket_.error() == QAbstractSocket::SocketTimeoutError
                               ? QStringLiteral("no answer within %1 s").arg(boundMs / 1000)
                               : socket_.errorString();
    return fail(QStringLiteral("%1 %2: %3").arg(action, address_.display(), answer));
}

bool TcpPrinterPort::open(const PortOpenRequest& request)
{
    address_ = PortNames::readNetworkAddress(request.name);
    if (!address_.refusal.isEmpty())
        return fail(address_.refusal);
    // Read as well as write: whatever the printer sends back is taken before the close,
    // since unread bytes would make the close a reset that can discard the document.
    socket_.connectToHost(address_.host, address_.port, QIODevice::ReadWrite);
    if (!socket_.waitForConnected(ConnectBoundMs)) {
        failSocket(QStringLiteral("connect to"), ConnectBoundMs);
        socket_.abort();
        return false;
    }
    return true;
}

bool TcpPrinterPort::write(const char* data, qint64 count)
{
    if (!writeAllAndWait(socket_, data, count, WriteBoundMs))
        return failSocket(QStringLiteral("write to"), WriteBoundMs);
    return true;
}

bool TcpPrinterPort::close()
{
    if (socket_.state() == QAbstractSocket::UnconnectedState)
        return true;
    // A graceful close: what is still queued goes out before the connection ends.
    socket_.readAll();
    socket_.disconnectFromHost();
    if (socket_.state() != QAbstractSocket::UnconnectedState &&
        !socket_.waitForDisconnected(WriteBoundMs)) {
        failSocket(QStringLiteral("close connection to"), WriteBoundMs);
        socket_.abort();
        return false;
    }
    return true;
}
