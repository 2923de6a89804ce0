#include "DnsBlackHole.h"
#include "FakeDeviceTree.h"
#include "FifoPrinter.h"
#include "LoopbackPrinter.h"
#include "PortKind.h"
#include "PortNames.h"
#include "PrinterPortOpening.h"
#include "PrinterQueues.h"
#include "PseudoTerminal.h"
#include "RecordingPrinterSdk.h"
#include "SendDocument.h"
#include "SystemPrinterSdk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <cups/cups.h>
#include <optional>
#include <sys/socket.h>
#include <termios.h>
#include <thread>

const QByteArray Large(1 << 20, 'x');
// Line feeds and XON/XOFF included, every byte value must pass unchanged.
const QByteArray EveryByteValue = [] {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes + "\n\r\n";
}();
constexpr int Refuses = -1;

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).count());
}

// The jobs of a queue that the scheduler had begun to run before they were cancelled or
// aborted, by id.
QList<int> cancelledJobsThatStarted(const QByteArray& queue)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 "ipp://localhost/printers/" + queue);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    const char* const wanted[] = {"job-id", "job-state", "time-at-processing"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                  wanted);
    ipp_t* answer = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    QList<int> started;
    ipp_attribute_t* a = ippFirstAttribute(answer);
    while (a) {
        // One job group, up to the next separator.
        int id = 0, state = 0;
        bool processed = false;
        for (; a && ippGetName(a); a = ippNextAttribute(answer)) {
            const QByteArray name = ippGetName(a);
            id = name == "job-id" ? ippGetInteger(a, 0) : id;
            state = name == "job-state" ? ippGetInteger(a, 0) : state;
            processed |= name == "time-at-processing" && ippGetValueTag(a) == IPP_TAG_INTEGER;
        }
        if (processed && (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED))
            started << id;
        a = a ? ippNextAttribute(answer) : nullptr;
    }
    ippDelete(answer);
    return started;
}

// The choice of port, our SDK's calls, and each kind of port against a stand-in printer:
// loopback TCP, a pseudo-terminal, a FIFO and the private cupsd that scripts/test starts.
class TestPrinter : public QObject
{
    Q_OBJECT

private slots:
    void portTextPicksKindControlsAndOpen_data()
    {
        QTest::addColumn<QString>("portText");
        QTest::addColumn<QString>("enabled"); // Text1, Combo2, Combo3 as 1/0; empty: unchanged
        QTest::addColumn<QString>("open");    // what POS_Open gets; empty: not called
        const char* const rows[][3] = {
            {"ETHERNET", "100", "127.0.0.1:9101,0,0,0,0,21"},
            {"ETH", "100", "127.0.0.1:9101,0,0,0,0,21"},
            {"COM1", "001", "COM1,115200,8,0,0,1"},
            {"COM /dev/ttyUSB0", "001", "COM /dev/ttyUSB0,115200,8,0,0,1"},
            {"LPT7", "000", "LPT7,0,0,0,0,18"},
            {"DRIVER", "010", "Kasse-Küche,0,0,0,0,20"},
            {"DRIVERS", "010", "Kasse-Küche,0,0,0,0,20"},
            {"com1", "", ""},
            {" COM1", "", ""},
            {"", "", ""}};
        for (const auto& [text, enabled, open] : rows)
            QTest::newRow(*text ? text : "empty")
                << QString::fromUtf8(text) << enabled << QString::fromUtf8(open);
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
        QCOMPARE(sdk.calls, open.isEmpty() ? QStringList() : QStringList{"POS_Open(" + open + ')'});
        QCOMPARE(handle, open.isEmpty() ? -1 : sdk.openResult);
        QCOMPARE(reason.isEmpty(), !open.isEmpty());
    }

    void networkAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // the display form, or why it is not an address
        const QString port = QStringLiteral("the port must be a number from 1 to 65535");
        const QString rows[][2] = {
            {"192.168.1.50", "192.168.1.50:9100"},
            {"localhost:65535", "localhost:65535"},
            {"[::1]:9101", "[::1]:9101"},
            {"fe80::1", "[fe80::1]:9100"},
            {"", "it is empty"},
            {"10.0.0.1:0", port},
            {"10.0.0.1:65536", port},
            {":9100", "the host is missing"},
            {"[::1", "the \"]\" is missing"},
            {"[::1]x", "only \":port\" may follow \"]\""},
            {"]::1]:9101", "the host has a character that no host name or address has"}};
        for (const auto& [text, read] : rows)
            QTest::newRow(qPrintable(text.isEmpty() ? "empty" : text)) << text << read;
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
                                       {"COM  /dev/pts/3 ", "/dev/pts/3"},
                                       {"COM0", ""},
                                       {"COM99999999999999999999", ""},
                                       {"COM1x", ""},
                                       {"LPT7", "/dev/lp6"},
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

    // Each row a printer on loopback and what a send to it must come to, each send within its
    // bound; then a send to a printer that reads goes through, and no descriptor is left open.
    void networkFault_data()
    {
        QTest::addColumn<int>("behaviour"); // of the LoopbackPrinter, or Refuses
        QTest::addColumn<QString>("host");  // as the address box names it
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("sends");
        QTest::addColumn<QString>("failure"); // a pattern; "^$": delivered
        QTest::addColumn<int>("boundMs");
        using enum LoopbackPrinter::Behaviour;
        const QByteArray command = QByteArray::fromHex("1F1B1F810405066009");
        const QByteArray everyByte = EveryByteValue.repeated(254); // 65786 bytes
        const auto row = [](const char* name, int behaviour, const char* host,
                            const QByteArray& bytes, int sends, const QString& failure,
                            int boundMs) {
            QTest::newRow(name) << behaviour << host << bytes << sends << failure << boundMs;
        };
        const QString reset = "^(open: connect to .*: Connection reset by peer|(write|close): "
                              "127.0.0.1:\\d+: the printer reset the connection after \\d+ of %1 "
                              "bytes)$";
        row("IPv4", Reads, "127.0.0.1", command, 1, "^$", 1000);
        row("host name", Reads, "localhost", command, 1, "^$", 1000);
        row("IPv6", Reads, "[::1]", command, 1, "^$", 1000);
        row("every byte, 64 KiB", Reads, "127.0.0.1", everyByte, 1, "^$", 1000);
        row("half-closes first", HalfClosesFirst, "127.0.0.1", everyByte, 1, "^$", 1000);
        row("refused", Refuses, "127.0.0.1", command, 1,
            "^open: connect to .*: Connection refused$", 1000);
        row("never accepts", NeverAccepts, "127.0.0.1", command, 1,
            "^open: connect to .*: no answer within 3 s$", 3500);
        row("resets at accept", ResetsAtAccept, "127.0.0.1", command, 20, reset.arg(9), 1000);
        row("reads part, then closes", ReadsPart, "127.0.0.1", everyByte.left(32768), 1,
            reset.arg(32768), 1000);
        row("name server never answers", Reads, "printer.example", command, 1,
            "^open: look up printer.example: no answer within 3 s$", 3500);
    }
    void networkFault()
    {
        QFETCH(int, behaviour);
        QFETCH(QString, host);
        QFETCH(QByteArray, bytes);
        QFETCH(int, sends);
        QFETCH(QString, failure);
        QFETCH(int, boundMs);
        std::optional<DnsBlackHole> blackHole;
        if (host.endsWith(".example") && !blackHole.emplace().made)
            QSKIP("no mount namespace of our own here (needs root)");
        LoopbackPrinter printer(LoopbackPrinter::Behaviour(qMax(behaviour, 0)),
                                host == "[::1]" ? AF_INET6 : AF_INET);
        if (!printer.listening())
            QSKIP("cannot listen on this loopback address here");
        const quint16 port = behaviour == Refuses ? LoopbackPrinter().port() : printer.port();
        LoopbackPrinter next;
        const int descriptors = openDescriptors();
        SystemPrinterSdk sdk;
        for (int i = 0; i < sends; ++i) {
            QElapsedTimer timer;
            timer.start();
            const QString outcome = sendDocument(
                sdk, host.toLatin1() + ':' + QByteArray::number(port), OpenMode::Network, bytes);
            QVERIFY2(timer.elapsed() < boundMs, qPrintable(QString::number(timer.elapsed())));
            QVERIFY2(QRegularExpression(failure).match(outcome).hasMatch(), qPrintable(outcome));
            if (outcome.isEmpty())
                QCOMPARE(printer.receiveDocument(), bytes);
        }
        QCOMPARE(sendDocument(sdk, next.address(), OpenMode::Network, "next"), QString());
        QCOMPARE(next.receiveDocument(), QByteArray("next"));
        QTRY_COMPARE_WITH_TIMEOUT(openDescriptors(), descriptors, 10000);
    }

    // A far end that stops taking bytes, goes away mid-document or refuses every byte: the send
    // fails within the port's bound, SIGPIPE neither ends the program nor is left changed, and
    // the next send goes through.
    void lineFault_data()
    {
        QTest::addColumn<QString>("port"); // serial, device, or a device path
        QTest::addColumn<bool>("farEndCloses");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("boundMs");
        const auto row = [](const char* name, const char* port, bool closes, int bytes,
                            const char* failure, int boundMs) {
            QTest::newRow(name) << port << closes << bytes << failure << boundMs;
        };
        row("line never read", "serial", false, 24576,
            "^write: write to /dev/pts/\\d+: the line took \\d+ of 24576 bytes within 4133 ms "
            "\\(is the printer on, and at 115200 baud\\?\\)$",
            4633);
        row("line closed mid-document", "serial", true, 24576,
            "^write: write to /dev/pts/\\d+: Input/output error$", 4633);
        row("reader exits mid-document", "device", true, 131072,
            "^write: write to .*: nothing reads the device any more \\(\\d+ of 131072 bytes "
            "taken\\)$",
            1000);
        row("reader never reads", "device", false, 131072,
            "^write: write to .*: the printer did not take the document within 13 s \\(offline, "
            "out of paper or switched off\\?\\)$",
            12548);
        row("every write fails", "/dev/full", false, 8,
            "^write: write to /dev/full: No space left on device$", 1000);
    }
    void lineFault()
    {
        QFETCH(QString, port);
        QFETCH(bool, farEndCloses);
        QFETCH(int, bytes);
        QFETCH(QString, failure);
        QFETCH(int, boundMs);
        PseudoTerminal line, nextLine;
        FifoPrinter fifo, nextFifo;
        const bool serial = port == "serial";
        int& farEnd = serial ? line.master : fifo.reader;
        const int descriptors = openDescriptors();
        struct sigaction before = {}, after = {};
        sigset_t blocked;
        ::sigaction(SIGPIPE, nullptr, &before);
        std::thread reader([&] {
            pollfd readable{farEnd, POLLIN, 0};
            char some[4096];
            if (farEndCloses && ::poll(&readable, 1, 5000) > 0 && ::read(farEnd, some, 4096) > 0)
                ::close(std::exchange(farEnd, -1));
        });
        const qint32 mode = serial ? OpenMode::Serial : OpenMode::ParallelOrUsbDevice;
        const QByteArray name = serial             ? line.portText
                                : port == "device" ? fifo.portText()
                                                   : "LPT " + port.toLatin1();
        SystemPrinterSdk sdk;
        QElapsedTimer timer;
        timer.start();
        const QString outcome = sendDocument(sdk, name, mode, Large.left(bytes));
        reader.join();
        QVERIFY2(timer.elapsed() < boundMs, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(QRegularExpression(failure).match(outcome).hasMatch(), qPrintable(outcome));
        QCOMPARE(sendDocument(sdk, serial ? nextLine.portText : nextFifo.portText(), mode,
                              EveryByteValue),
                 QString());
        QCOMPARE(serial ? nextLine.readArrived() : nextFifo.readArrived(), EveryByteValue);
        QCOMPARE(openDescriptors(), descriptors - farEndCloses);
        ::sigaction(SIGPIPE, nullptr, &after);
        ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
        QVERIFY(after.sa_handler == before.sa_handler && !sigismember(&blocked, SIGPIPE));
    }

    void serialLineIsRaw8N1()
    {
        PseudoTerminal line;
        SystemPrinterSdk sdk;
        const qint32 handle = sdk.POS_Open(line.portText, 38400, 8, 0, 0, OpenMode::Serial);
        QVERIFY2(handle > 0, qPrintable(sdk.lastFailure()));
        termios settings{};
        QCOMPARE(::tcgetattr(line.slave, &settings), 0);
        QCOMPARE(::cfgetospeed(&settings), speed_t(B38400));
        QCOMPARE(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        QCOMPARE(settings.c_oflag & OPOST, tcflag_t(0));
        QCOMPARE(settings.c_lflag & (ICANON | ECHO), tcflag_t(0));
        QCOMPARE(settings.c_iflag & (IXON | IXOFF | ICRNL), tcflag_t(0));
        QCOMPARE(sdk.POS_Close(), 1);
    }

    void deviceRefusesWhatIsNoPrinter()
    {
        QTemporaryDir folder;
        QFile notes(folder.filePath("notes.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("keep me") == 7 && notes.flush());
        QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("unread")).constData(), 0600), 0);
        const char* const rows[][2] = {
            {"notes.txt", ": not a printer device; refusing to write to it"},
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
        const LoopbackPrinter silentServer; // takes the request and never answers
        cupsSetServer(silentServer.address().constData());
        SystemPrinterSdk sdk;
        QElapsedTimer timer;
        timer.start();
        const QString outcome = sendDocument(sdk, queue, OpenMode::PrinterQueue, "lost");
        const qint64 elapsed = timer.elapsed();
        cupsSetServer(nullptr);
        QCOMPARE(outcome, "open: look up printer queue \"" + queue + "\" (print server " +
                              silentServer.address() + "): no answer within 5 s");
        QVERIFY2(elapsed < 5500, qPrintable(QString::number(elapsed)));

        LoopbackPrinter printer(LoopbackPrinter::Reads, AF_INET, port);
        const QByteArray bytes = QByteArray::fromHex("1F1B1F80040506440A1B40");
        QVERIFY(PrinterQueues::list().names().contains(QString::fromLocal8Bit(queue)));
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
        QCOMPARE(cancelledJobsThatStarted(queue), QList<int>());
    }

    // Each row a port that will not open and the reason, which says what to do; %R is the
    // root of a fake device tree with COM1, LPT1 and a COM2 without hardware.
    void openFailureSaysWhatToDo_data()
    {
        QTest::addColumn<QString>("portText"); // "held" is a line that another port holds
        QTest::addColumn<QString>("reason");
        const char* const rows[][3] = {
            {"missing serial line", "COM %R/dev/ttyUSB7",
             "%R/dev/ttyUSB7 does not exist; the serial lines here are: COM1 (%R/dev/ttyS0)"},
            {"no hardware", "COM %R/dev/ttyS1",
             "%R/dev/ttyS1 has no serial port behind it; the serial lines here are: COM1 "
             "(%R/dev/ttyS0)"},
            {"not a line", "COM /dev/null", "/dev/null is not a serial line"},
            {"missing printer device", "LPT %R/dev/usb/lp3",
             "%R/dev/usb/lp3 does not exist; the printer devices here are: LPT1 (%R/dev/lp0)"},
            {"busy", "held",
             "%P is busy: pid %I (tst_printer) holds it; end that program and "
             "try again"}};
        for (const auto& [name, portText, reason] : rows)
            QTest::newRow(name) << QString(portText) << QString(reason);
    }
    void openFailureSaysWhatToDo()
    {
        QFETCH(QString, portText);
        QFETCH(QString, reason);
        FakeDeviceTree tree;
        for (const char* node : {"/dev/ttyS0", "/dev/ttyS1", "/dev/lp0"})
            tree.node(node);
        tree.attribute("/sys/class/tty/ttyS1/type", "0");
        qputenv("BLACKMARK_DEVICE_ROOT", QFile::encodeName(tree.root.path()));
        PseudoTerminal line;
        SystemPrinterSdk holder, sdk;
        if (portText == "held")
            holder.POS_Open(line.portText, 9600, 8, 0, 0, OpenMode::Serial);
        const QString name = portText == "held" ? QString(line.portText) : portText;
        const QString outcome = sendDocument(
            sdk, name.toLocal8Bit().replace("%R", QFile::encodeName(tree.root.path())),
            name.startsWith("COM") ? OpenMode::Serial : OpenMode::ParallelOrUsbDevice, "x");
        qunsetenv("BLACKMARK_DEVICE_ROOT");
        QCOMPARE(outcome, "open: " + QString(reason)
                                         .replace("%R", tree.root.path())
                                         .replace("%P", name.mid(4))
                                         .replace("%I", QString::number(::getpid())));
    }

    void queuesTellTheirState()
    {
        const QString queue = qEnvironmentVariable("BLACKMARK_TEST_QUEUE");
        const QString stopped = qEnvironmentVariable("BLACKMARK_TEST_STOPPED_QUEUE");
        if (stopped.isEmpty() || qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QSKIP("no private cupsd with a stopped queue (scripts/test starts one)");
        const QueueListing listing = PrinterQueues::list();
        QCOMPARE(listing.failure, QString());
        QStringList states;
        for (const PrinterQueue& each : listing.queues)
            states << each.name + ' ' + each.deviceUri + ' ' + each.stateText();
        const QString device =
            "socket://127.0.0.1:" + qEnvironmentVariable("BLACKMARK_TEST_QUEUE_PORT");
        QCOMPARE(states,
                 (QStringList{queue + ' ' + device + " idle",
                              stopped + ' ' + device + " stopped, not accepting jobs: paper out"}));
        SystemPrinterSdk sdk;
        QCOMPARE(sendDocument(sdk, stopped.toLocal8Bit(), OpenMode::PrinterQueue, "x"),
                 QStringLiteral("open: printer queue \"%1\" is stopped, not accepting jobs: paper "
                                "out; once the printer is ready, let it print again with "
                                "`cupsenable %1` and `cupsaccept %1`")
                     .arg(stopped));
    }
};

QTEST_GUILESS_MAIN(TestPrinter)
#include "tst_printer.moc"
