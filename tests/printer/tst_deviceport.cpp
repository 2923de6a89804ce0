#include "PrinterSdk.h"
#include "SystemPrinterSdk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestDevicePort : public QObject
{
    Q_OBJECT

private slots:
    void fifoReceivesBytes();
    void refusedPaths_data();
    void refusedPaths();

private:
    QTemporaryDir folder_;
};

void TestDevicePort::fifoReceivesBytes()
{
    const QByteArray fifo = QFile::encodeName(folder_.filePath("lp0"));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);

    SystemPrinterSdk sdk;
    const QByteArray bytes = QByteArray::fromHex("1B401D56300A");
    const qint32 handle = sdk.POS_Open("LPT " + fifo, 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice);
    QVERIFY2(handle > 0, qPrintable(sdk.lastFailure()));
    QCOMPARE(sdk.POS_WriteFile(handle, bytes.constData(), 6), 6);
    QVERIFY(sdk.POS_Close() > 0);

    char received[16] = {};
    QCOMPARE(::read(reader, received, sizeof received), 6);
    QCOMPARE(QByteArray(received, 6), bytes);
    ::close(reader);
}

void TestDevicePort::refusedPaths_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reasonEnd");
    QTest::newRow("regular file") << "notes.txt"
                                  << ": not a printer device; refusing to write to it";
    QTest::newRow("missing") << "missing"
                             << ": No such file or directory";
    QTest::newRow("FIFO without reader") << "unread"
                                         << ": no printer is attached (nothing reads it)";
}

void TestDevicePort::refusedPaths()
{
    QFETCH(QString, file);
    QFETCH(QString, reasonEnd);
    const QString path = folder_.filePath(file);
    if (file == QLatin1String("notes.txt")) {
        QFile notes(path);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("keep me");
    } else if (file == QLatin1String("unread")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }

    SystemPrinterSdk sdk;
    QCOMPARE(
        sdk.POS_Open("LPT " + QFile::encodeName(path), 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice),
        -1);
    QCOMPARE(sdk.lastFailure(), path + reasonEnd);
    if (file == QLatin1String("notes.txt")) {
        QFile notes(path);
        QVERIFY(notes.open(QIODevice::ReadOnly));
        QCOMPARE(notes.readAll(), QByteArray("keep me"));
    }
}

QTEST_GUILESS_MAIN(TestDevicePort)
#include "tst_deviceport.moc"
