#include "PrinterSdk.h"
#include "SystemPrinterSdk.h"

#include <QDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Calls out of order or with bad arguments: each a defined result with a reason.
class TestSystemPrinterSdk : public QObject
{
    Q_OBJECT

private slots:
    void misuseGivesReason();
    void refusedNames_data();
    void refusedNames();
};

void TestSystemPrinterSdk::misuseGivesReason()
{
    SystemPrinterSdk sdk;
    QCOMPARE(sdk.POS_WriteFile(1, "x", 1), -1);
    QCOMPARE(sdk.lastFailure(), QStringLiteral("no port is open"));
    QCOMPARE(sdk.POS_StartDoc(), -1);
    QCOMPARE(sdk.POS_EndDoc(), -1);
    QCOMPARE(sdk.POS_Close(), -1);

    // A FIFO with a reader stands in for a printer device.
    const QByteArray fifo = QDir::tempPath().toLocal8Bit() + "/blackmark-misuse-fifo";
    ::unlink(fifo.constData());
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);

    const qint32 handle = sdk.POS_Open("LPT " + fifo, 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice);
    QVERIFY(handle > 0);
    QCOMPARE(sdk.POS_Open("LPT " + fifo, 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice), -1);
    QCOMPARE(sdk.lastFailure(), QStringLiteral("a port is open already; it must be closed first"));
    QCOMPARE(sdk.POS_WriteFile(handle + 1, "x", 1), -1);
    QCOMPARE(sdk.lastFailure(),
             QStringLiteral("handle %1 is not that of the open port").arg(handle + 1));
    QCOMPARE(sdk.POS_WriteFile(handle, nullptr, 5), -1);
    QCOMPARE(sdk.POS_WriteFile(handle, "x", -1), -1);
    QCOMPARE(sdk.POS_WriteFile(handle, "ok", 2), 2);
    QVERIFY(sdk.POS_Close() > 0);

    const qint32 next = sdk.POS_Open("LPT " + fifo, 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice);
    QVERIFY(next > 0);
    QVERIFY(next != handle);
    QVERIFY(sdk.POS_Close() > 0);
    char received[8] = {};
    QCOMPARE(::read(reader, received, sizeof received), 2);
    ::close(reader);
    ::unlink(fifo.constData());
}

void TestSystemPrinterSdk::refusedNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<qint32>("openMode");
    QTest::addColumn<QString>("reason");

    QTest::newRow("NUL inside") << QByteArray("COM1\0/etc/passwd", 16) << OpenMode::Serial
                                << "the port name holds a NUL character";
    QTest::newRow("unknown mode") << QByteArray("x") << 7
                                  << "open mode 7 is none that this tool supports";
    QTest::newRow("serial of unknown form")
        << QByteArray("COMX") << OpenMode::Serial
        << "\"COMX\" is not a serial port: use COM followed by a number from 1, or by a device "
           "path such as COM /dev/...";
    QTest::newRow("empty network address")
        << QByteArray() << OpenMode::Network << "\"\" is not a network address: it is empty";
    QTest::newRow("no queue chosen")
        << QByteArray() << OpenMode::PrinterQueue << "no printer queue is chosen";
}

void TestSystemPrinterSdk::refusedNames()
{
    QFETCH(QByteArray, name);
    QFETCH(qint32, openMode);
    QFETCH(QString, reason);
    SystemPrinterSdk sdk;
    QCOMPARE(sdk.POS_Open(name, 9600, 8, 0, 0, openMode), -1);
    QCOMPARE(sdk.lastFailure(), reason);
}

QTEST_GUILESS_MAIN(TestSystemPrinterSdk)
#include "tst_systemprintersdk.moc"
