#include "PrinterSdk.h"
#include "SystemPrinterSdk.h"

#include <QTest>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace
{

// A pseudo-terminal pair: the SDK opens the slave by its path, the test reads the master.
struct PseudoTerminal {
    int master = -1;
    int slave = -1;
    QByteArray slavePath;

    PseudoTerminal()
    {
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) == 0)
            slavePath = name;
    }
    ~PseudoTerminal()
    {
        ::close(master);
        ::close(slave);
    }

    QByteArray readAvailable() const
    {
        QByteArray received;
        char buffer[4096];
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        for (int idle = 0; idle < 20;) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                received.append(buffer, n);
                idle = 0;
            } else {
                ++idle;
                ::usleep(10000);
            }
        }
        return received;
    }
};

speed_t termiosSpeed(qint32 baud)
{
    switch (baud) {
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    default:
        return B115200;
    }
}

} // namespace

class TestSerialPort : public QObject
{
    Q_OBJECT

private slots:
    void bytesArriveOnRawLine_data();
    void bytesArriveOnRawLine();
    void missingDeviceFails();
};

void TestSerialPort::bytesArriveOnRawLine_data()
{
    QTest::addColumn<qint32>("baud");
    for (qint32 baud : {9600, 19200, 38400, 115200})
        QTest::newRow(QByteArray::number(baud).constData()) << baud;
}

void TestSerialPort::bytesArriveOnRawLine()
{
    QFETCH(qint32, baud);
    PseudoTerminal pty;
    QVERIFY(!pty.slavePath.isEmpty());

    SystemPrinterSdk sdk;
    const qint32 handle = sdk.POS_Open("COM " + pty.slavePath, baud, 8, 0, 0, OpenMode::Serial);
    QVERIFY2(handle > 0, qPrintable(sdk.lastFailure()));

    termios line{};
    QCOMPARE(::tcgetattr(pty.slave, &line), 0);
    QCOMPARE(::cfgetospeed(&line), termiosSpeed(baud));
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    QCOMPARE(line.c_oflag & OPOST, tcflag_t(0));
    QCOMPARE(line.c_lflag & (ICANON | ECHO), tcflag_t(0));
    QCOMPARE(line.c_iflag & (IXON | IXOFF | ICRNL), tcflag_t(0));

    // Every byte value, line feeds and XON/XOFF included, must pass unchanged.
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    bytes += "\n\r\n";
    QVERIFY(sdk.POS_StartDoc() > 0);
    QCOMPARE(sdk.POS_WriteFile(handle, bytes.constData(), qint32(bytes.size())),
             qint32(bytes.size()));
    QVERIFY(sdk.POS_EndDoc() > 0);
    QVERIFY2(sdk.POS_Close() > 0, qPrintable(sdk.lastFailure()));
    QCOMPARE(pty.readAvailable(), bytes);
}

void TestSerialPort::missingDeviceFails()
{
    SystemPrinterSdk sdk;
    QCOMPARE(sdk.POS_Open("COM /dev/blackmark-no-such-line", 19200, 8, 0, 0, OpenMode::Serial), -1);
    QVERIFY2(sdk.lastFailure().startsWith("open /dev/blackmark-no-such-line: "),
             qPrintable(sdk.lastFailure()));
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
