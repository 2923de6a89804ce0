#include "PrinterSdk.h"
#include "SystemPrinterSdk.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

// Runs against the private cupsd that scripts/test starts: its raw queue sends each job to
// a loopback port where this test listens.
class TestQueuePort : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void jobBytesArrive();
    void unfinishedJobIsCancelled();
    void missingQueueFailsAtOpen();

private:
    QByteArray receiveJob(int boundMs);

    QByteArray queue_;
    QTcpServer printer_;
};

void TestQueuePort::initTestCase()
{
    queue_ = qgetenv("BLACKMARK_TEST_QUEUE");
    const quint16 port = quint16(qEnvironmentVariableIntValue("BLACKMARK_TEST_QUEUE_PORT"));
    if (queue_.isEmpty() || port == 0 || qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        QSKIP("no private cupsd (scripts/test starts one)");
    QVERIFY(printer_.listen(QHostAddress::LocalHost, port));
}

QByteArray TestQueuePort::receiveJob(int boundMs)
{
    if (!printer_.hasPendingConnections() && !printer_.waitForNewConnection(boundMs))
        return {};
    QTcpSocket* backend = printer_.nextPendingConnection();
    QByteArray received;
    QElapsedTimer timer;
    timer.start();
    while (backend->state() == QAbstractSocket::ConnectedState && timer.elapsed() < 20000) {
        backend->waitForReadyRead(200);
        received += backend->readAll();
    }
    received += backend->readAll();
    delete backend;
    return received;
}

void TestQueuePort::jobBytesArrive()
{
    SystemPrinterSdk sdk;
    const QByteArray bytes = QByteArray::fromHex("1F1B1F80040506440A1B40");
    const qint32 handle = sdk.POS_Open(queue_, 0, 0, 0, 0, OpenMode::PrinterQueue);
    QVERIFY2(handle > 0, qPrintable(sdk.lastFailure()));
    QVERIFY2(sdk.POS_StartDoc() > 0, qPrintable(sdk.lastFailure()));
    QCOMPARE(sdk.POS_WriteFile(handle, bytes.constData(), qint32(bytes.size())),
             qint32(bytes.size()));
    QVERIFY2(sdk.POS_EndDoc() > 0, qPrintable(sdk.lastFailure()));
    QVERIFY(sdk.POS_Close() > 0);
    QCOMPARE(receiveJob(30000), bytes);
}

void TestQueuePort::unfinishedJobIsCancelled()
{
    SystemPrinterSdk sdk;
    const qint32 handle = sdk.POS_Open(queue_, 0, 0, 0, 0, OpenMode::PrinterQueue);
    QVERIFY(handle > 0);
    QVERIFY(sdk.POS_StartDoc() > 0);
    QCOMPARE(sdk.POS_WriteFile(handle, "lost", 4), 4);
    QCOMPARE(sdk.POS_Close(), -1);
    QCOMPARE(sdk.lastFailure(),
             QStringLiteral("the job on printer queue \"%1\" was not finished and is cancelled")
                 .arg(QString::fromLocal8Bit(queue_)));

    // The cancelled job never reaches the printer; the next one does, and alone.
    const qint32 next = sdk.POS_Open(queue_, 0, 0, 0, 0, OpenMode::PrinterQueue);
    QVERIFY(next > 0);
    sdk.POS_StartDoc();
    QCOMPARE(sdk.POS_WriteFile(next, "kept", 4), 4);
    QVERIFY(sdk.POS_EndDoc() > 0);
    sdk.POS_Close();
    QCOMPARE(receiveJob(30000), QByteArray("kept"));
}

void TestQueuePort::missingQueueFailsAtOpen()
{
    SystemPrinterSdk sdk;
    QCOMPARE(sdk.POS_Open("blackmark-no-such-queue", 0, 0, 0, 0, OpenMode::PrinterQueue), -1);
    QCOMPARE(sdk.lastFailure(),
             QStringLiteral("no printer queue named \"blackmark-no-such-queue\""));
}

QTEST_GUILESS_MAIN(TestQueuePort)
#include "tst_queueport.moc"
