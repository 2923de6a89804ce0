#include "NeverAcceptingListener.h"
#include "PrinterSdk.h"
#include "SystemPrinterSdk.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace
{

// Sends one document as the window does; returns the write's result.
qint32 sendDocument(PrinterSdk& sdk, const QByteArray& address, const QByteArray& bytes)
{
    const qint32 handle = sdk.POS_Open(address, 0, 0, 0, 0, OpenMode::Network);
    if (handle == -1)
        return -100;
    sdk.POS_StartDoc();
    const qint32 written = sdk.POS_WriteFile(handle, bytes.constData(), qint32(bytes.size()));
    sdk.POS_EndDoc();
    sdk.POS_Close();
    return written;
}

QByteArray readUntilClosed(QTcpSocket& peer)
{
    QByteArray received;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        received += peer.readAll();
        if (peer.state() == QAbstractSocket::UnconnectedState)
            break;
        peer.waitForReadyRead(100);
    }
    return received + peer.readAll();
}

} // namespace

class TestNetworkPort : public QObject
{
    Q_OBJECT

private slots:
    void listenerReceivesExactBytes_data();
    void listenerReceivesExactBytes();
    void oneConnectionPerDocument();
    void closedPortFailsFast();
    void unansweredConnectFailsWithinBound();
    void peerClosingMidWriteFailsTheWrite();
};

void TestNetworkPort::listenerReceivesExactBytes_data()
{
    QTest::addColumn<QHostAddress>("listen");
    QTest::addColumn<QString>("addressPattern"); // %1 is the port
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray command = QByteArray::fromHex("1F1B1F810405066009");
    QTest::newRow("IPv4 with port")
        << QHostAddress(QHostAddress::LocalHost) << "127.0.0.1:%1" << command;
    QTest::newRow("host name") << QHostAddress(QHostAddress::LocalHost) << "localhost:%1"
                               << command;
    QTest::newRow("IPv6 in brackets")
        << QHostAddress(QHostAddress::LocalHostIPv6) << "[::1]:%1" << command;
    QTest::newRow("every byte value, 64 KiB")
        << QHostAddress(QHostAddress::LocalHost) << "127.0.0.1:%1" << [] {
               QByteArray all(65536, '\0');
               for (int i = 0; i < all.size(); ++i)
                   all[i] = char(i % 251);
               return all;
           }();
}

void TestNetworkPort::listenerReceivesExactBytes()
{
    QFETCH(QHostAddress, listen);
    QFETCH(QString, addressPattern);
    QFETCH(QByteArray, bytes);
    QTcpServer server;
    if (!server.listen(listen))
        QSKIP("cannot listen on this loopback address here");

    SystemPrinterSdk sdk;
    const QByteArray address = addressPattern.arg(server.serverPort()).toLatin1();
    QCOMPARE(sendDocument(sdk, address, bytes), qint32(bytes.size()));

    QVERIFY(server.waitForNewConnection(5000));
    QTcpSocket* peer = server.nextPendingConnection();
    QCOMPARE(readUntilClosed(*peer), bytes);
}

void TestNetworkPort::oneConnectionPerDocument()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QByteArray address = "127.0.0.1:" + QByteArray::number(server.serverPort());
    SystemPrinterSdk sdk;
    QCOMPARE(sendDocument(sdk, address, "first"), 5);
    QCOMPARE(sendDocument(sdk, address, "second"), 6);

    QByteArray documents[2];
    for (QByteArray& document : documents) {
        QVERIFY(server.hasPendingConnections() || server.waitForNewConnection(5000));
        document = readUntilClosed(*server.nextPendingConnection());
    }
    QCOMPARE(documents[0], QByteArray("first"));
    QCOMPARE(documents[1], QByteArray("second"));
}

void TestNetworkPort::closedPortFailsFast()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    SystemPrinterSdk sdk;
    QElapsedTimer timer;
    timer.start();
    const QByteArray address = "127.0.0.1:" + QByteArray::number(port);
    QCOMPARE(sdk.POS_Open(address, 0, 0, 0, 0, OpenMode::Network), -1);
    QVERIFY(timer.elapsed() < 2000);
    QCOMPARE(sdk.lastFailure(),
             QStringLiteral("connect to %1: Connection refused").arg(QString::fromLatin1(address)));
}

void TestNetworkPort::unansweredConnectFailsWithinBound()
{
    NeverAcceptingListener listener;
    SystemPrinterSdk sdk;
    QElapsedTimer timer;
    timer.start();
    const QByteArray address = "127.0.0.1:" + QByteArray::number(listener.port());
    QCOMPARE(sdk.POS_Open(address, 0, 0, 0, 0, OpenMode::Network), -1);
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(
        sdk.lastFailure(),
        QStringLiteral("connect to %1: no answer within 3 s").arg(QString::fromLatin1(address)));
}

void TestNetworkPort::peerClosingMidWriteFailsTheWrite()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    SystemPrinterSdk sdk;
    const qint32 handle = sdk.POS_Open("127.0.0.1:" + QByteArray::number(server.serverPort()), 0, 0,
                                       0, 0, OpenMode::Network);
    QVERIFY(handle > 0);
    QVERIFY(server.waitForNewConnection(5000));
    delete server.nextPendingConnection(); // the printer goes away before the document

    const QByteArray large(16 * 1024 * 1024, 'x');
    QCOMPARE(sdk.POS_WriteFile(handle, large.constData(), qint32(large.size())), -1);
    QVERIFY2(sdk.lastFailure().startsWith("write to 127.0.0.1:"), qPrintable(sdk.lastFailure()));
    sdk.POS_EndDoc();
    sdk.POS_Close();
    QCOMPARE(sendDocument(sdk, "127.0.0.1:" + QByteArray::number(server.serverPort()), "again"), 5);
}

QTEST_GUILESS_MAIN(TestNetworkPort)
#include "tst_networkport.moc"
