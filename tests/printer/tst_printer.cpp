#include "FifoPrinter.h"
#include "LoopbackPrinter.h"
#include "NeverAcceptingListener.h"
#include "PortKind.h"
#include "PortNames.h"
#include "PrinterPortOpening.h"
#include "PseudoTerminal.h"
#include "RecordingPrinterSdk.h"
#include "SendDocument.h"
#include "SystemPrinterSdk.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <sys/socket.h>
#include <termios.h>

// The choice of port, our SDK's calls, and each kind of port against a stand-in printer:
// loopback TCP, a pseudo-terminal, a FIFO and the private cupsd that scripts/test starts.
class TestPrinter : public QObject
{
    Q_OBJECT

    const QByteArray large_ = QByteArray(8 * 1024 * 1024, 'x');

private slots:
    void portTextPicksKindControlsAndOpen_data()
    {
        QTest::addColumn<QString>("portText");
        QTest::addColumn<QString>("enabled"); // Text1, Combo2, Combo3 as 1/0; empty: unchanged
        QTest::addColumn<QString>("open");    // the POS_Open call; empty: none
        const auto row = [](const char* text, const char* enabled, const char* open) {
            QTest::newRow(*text ? text : "empty") << QString::fromUtf8(text) << enabled << open;
        };
        row("ETHERNET", "100", "POS_Open(127.0.0.1:9101,0,0,0,0,21)");
        row("ETH", "100", "POS_Open(127.0.0.1:9101,0,0,0,0,21)");
        row("COM1", "001", "POS_Open(COM1,115200,8,0,0,1)");
        row("COM /dev/ttyUSB0", "001", "POS_Open(COM /dev/ttyUSB0,115200,8,0,0,1)");
        row("LPT7", "000", "POS_Open(LPT7,0,0,0,0,18)");
        row("DRIVER", "010", "POS_Open(Kasse-Küche,0,0,0,0,20)");
        row("DRIVERS", "010", "POS_Open(Kasse-Küche,0,0,0,0,20)");
        for (const char* noKind : {"com1", " COM1", "CO", ""})
            row(noKind, "", "");
    }
    void portTextPicksKindControlsAndOpen()
    {
        QFETCH(QString, portText);
        QFETCH(QString, enabled);
        QFETCH(QString, open);
        const auto states = parameterControlsFor(portText);
        QCOMPARE(states.has_value(), !enabled.isEmpty());
        if (states)
            QCOMPARE(*states, (ParameterControlsEnabled{enabled[0] == u'1', enabled[1] == u'1',
                                                        enabled[2] == u'1'}));
        RecordingPrinterSdk sdk;
        QString reason;
        const qint32 handle = OpenPrinterPort(
            {portText, "127.0.0.1:9101", QString::fromUtf8("Kasse-Küche"), "115200"}, sdk, reason);
        QCOMPARE(sdk.calls, open.isEmpty() ? QStringList() : QStringList{open});
        QCOMPARE(handle, open.isEmpty() ? -1 : sdk.openResult);
        QCOMPARE(reason.isEmpty(), !open.isEmpty());
    }

    void networkAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // the display form, or why it is not an address
        const auto row = [](const char* text, const char* read) {
            QTest::newRow(*text ? text : "empty") << QString::fromLatin1(text) << read;
        };
        row("192.168.1.50", "192.168.1.50:9100");
        row("localhost:65535", "localhost:65535");
        row("[::1]:9101", "[::1]:9101");
        row("fe80::1", "[fe80::1]:9100");
        row("", "it is empty");
        row("10.0.0.1:0", "the port must be a number from 1 to 65535");
        row("10.0.0.1:65536", "the port must be a number from 1 to 65535");
        row("10.0.0.1:", "the port must be a number from 1 to 65535");
        row(":9100", "the host is missing");
        row("[::1", "the \"]\" is missing");
        row("[::1]x", "only \":port\" may follow \"]\"");
        row("]::1]:9101", "the host has a character that no host name or address has");
        row("printer one", "the host has a character that no host name or address has");
    }
    void networkAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const PortNames::NetworkAddress address = PortNames::readNetworkAddress(text);
        QCOMPARE(address.refusal.isEmpty() ? address.display() : address.refusal,
                 address.refusal.isEmpty()
                     ? read
                     : QStringLiteral("\"%1\" is not a network address: %2").arg(text, read));
    }

    void devicePath_data()
    {
        QTest::addColumn<QString>("portText");
        QTest::addColumn<QString>("path"); // empty when refused
        const char* const rows[][2] = {{"COM1", "/dev/ttyS0"},
                                       {"COM12", "/dev/ttyS11"},
                                       {"COM  /dev/pts/3 ", "/dev/pts/3"},
                                       {"COM/dev/ttyACM0", "/dev/ttyACM0"},
                                       {"COM0", ""},
                                       {"COM", ""},
                                       {"COM ttyS0", ""},
                                       {"COM99999999999999999999", ""},
                                       {"COM1x", ""},
                                       {"LPT7", "/dev/lp6"},
                                       {"LPT /dev/usb/lp0", "/dev/usb/lp0"},
                                       {"LPT", ""}};
        for (const auto& [text, path] : rows)
            QTest::newRow(text) << QString::fromLatin1(text) << QString::fromLatin1(path);
    }
    void devicePath()
    {
        QFETCH(QString, portText);
        QFETCH(QString, path);
        const PortNames::DevicePath device = portText.startsWith(u'C')
                                                 ? PortNames::serialDevicePath(portText)
                                                 : PortNames::parallelDevicePath(portText);
        QCOMPARE(device.path, path);
        QCOMPARE(device.refusal.isEmpty(), !path.isEmpty());
    }

    void misuseGivesReason()
    {
        SystemPrinterSdk sdk;
        QCOMPARE(sdk.POS_WriteFile(1, "x", 1), -1);
        QCOMPARE(sdk.lastFailure(), QStringLiteral("no port is open"));
        QCOMPARE(sdk.POS_StartDoc() + sdk.POS_EndDoc() + sdk.POS_Close(), -3);
        const auto refusal = [&](const QByteArray& name, qint32 mode) {
            return sdk.POS_Open(name, 9600, 8, 0, 0, mode) == -1 ? sdk.lastFailure() : "opened";
        };
        QCOMPARE(refusal(QByteArray("COM1\0/etc/passwd", 16), OpenMode::Serial),
                 QStringLiteral("the port name holds a NUL character"));
        QCOMPARE(refusal("x", 7), QStringLiteral("open mode 7 is none that this tool supports"));
        QCOMPARE(refusal("", OpenMode::PrinterQueue), QStringLiteral("no printer queue is chosen"));

        FifoPrinter printer;
        const qint32 handle =
            sdk.POS_Open(printer.portText(), 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice);
        QVERIFY(handle > 0);
        QCOMPARE(refusal(printer.portText(), OpenMode::ParallelOrUsbDevice),
                 QStringLiteral("a port is open already; it must be closed first"));
        QCOMPARE(sdk.POS_WriteFile(handle + 1, "x", 1), -1);
        QCOMPARE(sdk.lastFailure(),
                 QStringLiteral("handle %1 is not that of the open port").arg(handle + 1));
        QCOMPARE(sdk.POS_WriteFile(handle, nullptr, 5), -1);
        QCOMPARE(sdk.POS_WriteFile(handle, "x", -1), -1);
        QCOMPARE(sdk.POS_WriteFile(handle, "ok", 2), 2);
        QCOMPARE(sdk.POS_Close(), 1);
        const qint32 next =
            sdk.POS_Open(printer.portText(), 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice);
        QVERIFY(next > 0 && next != handle);
        QCOMPARE(sdk.POS_Close(), 1);
        QCOMPARE(printer.readArrived(), QByteArray("ok"));
    }

    void networkPrinterReceivesExactBytes_data()
    {
        QTest::addColumn<QHostAddress>("listen");
        QTest::addColumn<QString>("host"); // how the address box names the loopback printer
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray command = QByteArray::fromHex("1F1B1F810405066009");
        QByteArray everyByte(65536, '\0');
        for (int i = 0; i < everyByte.size(); ++i)
            everyByte[i] = char(i % 251);
        const QHostAddress v4(QHostAddress::LocalHost);
        QTest::newRow("IPv4") << v4 << "127.0.0.1" << command;
        QTest::newRow("host name") << v4 << "localhost" << command;
        QTest::newRow("IPv6") << QHostAddress(QHostAddress::LocalHostIPv6) << "[::1]" << command;
        QTest::newRow("every byte value, 64 KiB") << v4 << "127.0.0.1" << everyByte;
    }
    void networkPrinterReceivesExactBytes()
    {
        QFETCH(QHostAddress, listen);
        QFETCH(QString, host);
        QFETCH(QByteArray, bytes);
        LoopbackPrinter printer(listen);
        if (!printer.listening())
            QSKIP("cannot listen on this loopback address here");
        SystemPrinterSdk sdk;
        const QByteArray address = host.toLatin1() + ':' + QByteArray::number(printer.port());
        QCOMPARE(sendDocument(sdk, address, OpenMode::Network, bytes), QString());
        QCOMPARE(printer.receiveDocument(), bytes);
    }

    void unreachableNetworkPrinterFailsAtOpen()
    {
        const quint16 closedPort = LoopbackPrinter().port();
        NeverAcceptingListener silent;
        const struct {
            quint16 port;
            const char* answer;
            int boundMs;
        } cases[] = {{closedPort, "Connection refused", 1000},
                     {silent.port(), "no answer within 3 s", 5000}};
        for (const auto& c : cases) {
            SystemPrinterSdk sdk;
            QElapsedTimer timer;
            timer.start();
            const QByteArray address = "127.0.0.1:" + QByteArray::number(c.port);
            QCOMPARE(sendDocument(sdk, address, OpenMode::Network, "x"),
                     QStringLiteral("open: connect to %1: %2").arg(address, c.answer));
            QVERIFY2(timer.elapsed() < c.boundMs, qPrintable(QString::number(timer.elapsed())));
        }
    }

    void networkPrinterResettingMidDocumentFailsTheWrite()
    {
        LoopbackPrinter printer;
        SystemPrinterSdk sdk;
        const qint32 handle = sdk.POS_Open(printer.address(), 0, 0, 0, 0, OpenMode::Network);
        std::unique_ptr<QTcpSocket> peer = printer.acceptConnection();
        QVERIFY(peer);
        const linger resetOnClose{1, 0};
        ::setsockopt(int(peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &resetOnClose,
                     sizeof resetOnClose);
        peer.reset();
        QCOMPARE(sdk.POS_WriteFile(handle, large_.constData(), qint32(large_.size())), -1);
        QVERIFY2(sdk.lastFailure().startsWith("write to " + printer.address() + ": "),
                 qPrintable(sdk.lastFailure()));
        sdk.POS_Close();
        QCOMPARE(sendDocument(sdk, printer.address(), OpenMode::Network, "next"), QString());
        QCOMPARE(printer.receiveDocument(), QByteArray("next"));
    }

    void serialBytesArriveOnRawLine_data()
    {
        QTest::addColumn<qint32>("baud");
        QTest::addColumn<speed_t>("speed");
        QTest::newRow("9600") << 9600 << speed_t(B9600);
        QTest::newRow("115200") << 115200 << speed_t(B115200);
    }
    void serialBytesArriveOnRawLine()
    {
        QFETCH(qint32, baud);
        QFETCH(speed_t, speed);
        PseudoTerminal line;
        SystemPrinterSdk sdk;
        const qint32 handle = sdk.POS_Open(line.portText(), baud, 8, 0, 0, OpenMode::Serial);
        QVERIFY2(handle > 0, qPrintable(sdk.lastFailure()));
        termios settings{};
        QCOMPARE(::tcgetattr(line.slave(), &settings), 0);
        QCOMPARE(::cfgetospeed(&settings), speed);
        QCOMPARE(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        QCOMPARE(settings.c_oflag & OPOST, tcflag_t(0));
        QCOMPARE(settings.c_lflag & (ICANON | ECHO), tcflag_t(0));
        QCOMPARE(settings.c_iflag & (IXON | IXOFF | ICRNL), tcflag_t(0));
        // Every byte value, line feeds and XON/XOFF included, must pass unchanged.
        QByteArray bytes;
        for (int i = 0; i < 256; ++i)
            bytes.append(char(i));
        bytes += "\n\r\n";
        QCOMPARE(sdk.POS_WriteFile(handle, bytes.constData(), qint32(bytes.size())),
                 qint32(bytes.size()));
        QCOMPARE(sdk.POS_Close(), 1);
        QCOMPARE(line.readArrived(), bytes);
    }

    void serialLineMissingOrGoingAwayFails()
    {
        SystemPrinterSdk sdk;
        QVERIFY(sendDocument(sdk, "COM /dev/blackmark-no-such-line", OpenMode::Serial, "x")
                    .startsWith("open: open /dev/blackmark-no-such-line: "));
        auto line = std::make_unique<PseudoTerminal>();
        const qint32 handle = sdk.POS_Open(line->portText(), 9600, 8, 0, 0, OpenMode::Serial);
        QVERIFY(handle > 0);
        line.reset();
        QCOMPARE(sdk.POS_WriteFile(handle, large_.constData(), qint32(large_.size())), -1);
        QVERIFY2(sdk.lastFailure().startsWith("write to /dev/pts/"), qPrintable(sdk.lastFailure()));
        sdk.POS_Close();
        PseudoTerminal next;
        QCOMPARE(sendDocument(sdk, next.portText(), OpenMode::Serial, "next"), QString());
        QCOMPARE(next.readArrived(), QByteArray("next"));
    }

    void deviceFifoReceivesBytes()
    {
        FifoPrinter printer;
        SystemPrinterSdk sdk;
        const QByteArray bytes = QByteArray::fromHex("1B401D56300A");
        QCOMPARE(sendDocument(sdk, printer.portText(), OpenMode::ParallelOrUsbDevice, bytes),
                 QString());
        QCOMPARE(printer.readArrived(), bytes);
    }

    void deviceRefusesWhatIsNoPrinter()
    {
        QTemporaryDir folder;
        QFile notes(folder.filePath("notes.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("keep me") == 7 && notes.flush());
        QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("unread")).constData(), 0600), 0);
        const char* const rows[][2] = {
            {"notes.txt", ": not a printer device; refusing to write to it"},
            {"missing", ": No such file or directory"},
            {"unread", ": no printer is attached (nothing reads it)"}};
        for (const auto& [file, reason] : rows) {
            SystemPrinterSdk sdk;
            const QString path = folder.filePath(file);
            QCOMPARE(sendDocument(sdk, "LPT " + QFile::encodeName(path),
                                  OpenMode::ParallelOrUsbDevice, "x"),
                     "open: " + path + reason);
        }
        QCOMPARE(notes.size(), 7); // neither truncated nor written
    }

    void queueJobArrives()
    {
        const QByteArray queue = qgetenv("BLACKMARK_TEST_QUEUE");
        const quint16 port = quint16(qEnvironmentVariableIntValue("BLACKMARK_TEST_QUEUE_PORT"));
        if (queue.isEmpty() || port == 0 || qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QSKIP("no private cupsd (scripts/test starts one)");
        LoopbackPrinter printer(QHostAddress::LocalHost, port);
        SystemPrinterSdk sdk;
        const QByteArray bytes = QByteArray::fromHex("1F1B1F80040506440A1B40");
        QCOMPARE(sendDocument(sdk, queue, OpenMode::PrinterQueue, bytes), QString());
        QCOMPARE(printer.receiveDocument(30000), bytes);

        // A job left unfinished is cancelled and never reaches the printer.
        const qint32 handle = sdk.POS_Open(queue, 0, 0, 0, 0, OpenMode::PrinterQueue);
        QVERIFY(sdk.POS_StartDoc() > 0);
        QCOMPARE(sdk.POS_WriteFile(handle, "lost", 4), 4);
        QCOMPARE(sdk.POS_Close(), -1);
        QCOMPARE(sdk.lastFailure(),
                 QStringLiteral("the job on printer queue \"%1\" was not finished and is cancelled")
                     .arg(QString::fromLocal8Bit(queue)));
        QCOMPARE(sendDocument(sdk, queue, OpenMode::PrinterQueue, "kept"), QString());
        QCOMPARE(printer.receiveDocument(30000), QByteArray("kept"));
        QCOMPARE(sendDocument(sdk, "blackmark-no-such-queue", OpenMode::PrinterQueue, "x"),
                 QStringLiteral("open: no printer queue named \"blackmark-no-such-queue\""));
    }
};

QTEST_GUILESS_MAIN(TestPrinter)
#include "tst_printer.moc"
