#pragma once

#include <QObject>
#include <QTimer>

class QTcpSocket;
class VirtualPrinterOutput;

// One sender's connection, one document: its bytes are decoded in slices of bounded size, so
// that memory stays flat and other connections get their turn, and it is closed when the
// sender sends nothing for too long.
class TcpDocumentConnection : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 SliceBytes = 64 * 1024;
    // Answers not yet read by the sender past this are dropped, as a printer's full
    // transmit buffer would.
    static constexpr qint64 UnreadAnswerBytes = 4096;

    TcpDocumentConnection(QTcpSocket* socket, VirtualPrinterOutput& output, int idleSeconds,
                          QObject* parent = nullptr);

signals:
    void ended();

private:
    void takeSlice();
    void takeRest();
    void closeIdle();
    void end(const QString& note);

    QTcpSocket* socket_;
    VirtualPrinterOutput& output_;
    int document_;
    int idleSeconds_;
    QTimer idle_;
    bool sliceQueued_ = false;
    bool ended_ = false;
};
