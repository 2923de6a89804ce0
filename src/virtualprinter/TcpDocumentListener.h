#pragma once

#include "DelayedTcpServer.h"

#include <QObject>
#include <QTimer>

class VirtualPrinterOutput;

// Takes every connection as one document, decoded as it arrives and ended when the sender
// closes it. At most MostConnections are served at once; further senders wait in the
// listen backlog.
class TcpDocumentListener : public QObject
{
    Q_OBJECT

public:
    static constexpr int MostConnections = 64;
    static constexpr int DescriptorRetryMs = 500;

    TcpDocumentListener(VirtualPrinterOutput& output, int idleSeconds, QObject* parent = nullptr);

    bool listen(const QString& host, quint16 port, QString& failure);
    quint16 port() const { return server_.serverPort(); }
    QString address() const;
    // Each connection is taken up this long after it arrives.
    void setDelay(int milliseconds) { server_.setDelay(milliseconds); }

signals:
    void documentEnded();

private:
    void accept();
    void waitForDescriptor();

    VirtualPrinterOutput& output_;
    int idleSeconds_;
    DelayedTcpServer server_;
    QTimer retry_;
    int connections_ = 0;
};
