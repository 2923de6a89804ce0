// Time from POS_Open to the last byte read by a loopback listener, and time to -1 for
// printers that refuse or never answer. Prints one "name: value unit" line per figure.
#include "NeverAcceptingListener.h"
#include "PrinterSdk.h"
#include "SystemPrinterSdk.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

double medianMicroseconds(std::vector<qint64>& nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds[nanoseconds.size() / 2] / 1000.0;
}

double sendToListener(const QByteArray& bytes, int rounds)
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    const QByteArray address = "127.0.0.1:" + QByteArray::number(server.serverPort());
    SystemPrinterSdk sdk;
    std::vector<qint64> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        const qint32 handle = sdk.POS_Open(address, 0, 0, 0, 0, OpenMode::Network);
        sdk.POS_StartDoc();
        sdk.POS_WriteFile(handle, bytes.constData(), qint32(bytes.size()));
        sdk.POS_EndDoc();
        sdk.POS_Close();
        server.waitForNewConnection(5000);
        QTcpSocket* peer = server.nextPendingConnection();
        qint64 received = 0;
        while (received < bytes.size() && peer->waitForReadyRead(5000))
            received += peer->readAll().size();
        times.push_back(timer.nsecsElapsed());
        delete peer;
    }
    return medianMicroseconds(times);
}

double timeToFailure(quint16 port)
{
    SystemPrinterSdk sdk;
    QElapsedTimer timer;
    timer.start();
    sdk.POS_Open("127.0.0.1:" + QByteArray::number(port), 0, 0, 0, 0, OpenMode::Network);
    return timer.nsecsElapsed() / 1e6;
}

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray markWidth = QByteArray::fromHex("1F1B1F810405066009");
    const QByteArray findStart =
        QByteArray::fromHex("1B401D0C2A2A2A2A5445535420535441525420504F534954494F4E2A2A2A2A0A");
    std::printf("network send 9 bytes, open to last byte read (median of 200): %.1f us\n",
                sendToListener(markWidth, 200));
    std::printf("network send 32 bytes, open to last byte read (median of 200): %.1f us\n",
                sendToListener(findStart, 200));
    std::printf("network closed port, time to -1: %.1f ms\n", timeToFailure(closedPort()));

    const NeverAcceptingListener silentPrinter;
    std::printf("network unanswered connect, time to -1: %.1f ms\n",
                timeToFailure(silentPrinter.port()));
    return 0;
}
