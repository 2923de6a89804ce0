#pragma once

#include <QHash>
#include <QObject>
#include <QTcpServer>

// Takes every connection as one document, whole when the sender closes it.
class TcpDocumentListener : public QObject
{
    Q_OBJECT

public:
    explicit TcpDocumentListener(QObject* parent = nullptr);

    bool listen(const QString& host, quint16 port, QString& failure);
    quint16 port() const { return server_.serverPort(); }
    QString address() const;

signals:
    void documentReceived(const QByteArray& bytes, const QString& from);

private:
    void accept();

    QTcpServer server_;
};
