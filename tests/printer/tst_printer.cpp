#include "BlackmarkCommandLine.h"
#include "DeviceNames.h"
#include "DnsBlackHole.h"
#include "FakeDeviceTree.h"
#include "FifoPrinter.h"
#include "LoopbackPrinter.h"
#include "OpenFailureReason.h"
#include "PortListing.h"
#include "PrinterQueues.h"
#include "PseudoTerminal.h"
#include "RecordingPrinterSdk.h"
#include "SendDocument.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <cups/cups.h>
#include <fcntl.h>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>

const std::string Large(1 << 20, 'x');
// Line feeds and XON/XOFF included, every byte value must pass unchanged.
const std::string EveryByteValue = [] {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes + "\n\r\n";
}();
constexpr int Refuses = -1;

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).count());
}

// The jobs of a queue that the scheduler had begun to run before they were cancelled or
// aborted, by id, as the scheduler recorded them.
QList<int> cancelledJobsThatStarted(const std::string& queue)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ALL);
    QList<int> started;
    for (int i = 0; i < count; ++i) {
        const bool cancelled =
            jobs[i].state == IPP_JSTATE_CANCELED || jobs[i].state == IPP_JSTATE_ABORTED;
        if (cancelled && jobs[i].processing_time != 0)
            started << jobs[i].id;
    }
    cupsFreeJobs(count, jobs);
    return started;
}

// A device tree with COM1, a COM2 without hardware, COM3, COM11, a USB serial line, LPT1 and
// a USB printer; FIFOs stand for the devices.
void makeDevices(const FakeDeviceTree& tree)
{
    for (const char* node : {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS10", "/dev/ttyS2",
                             "/dev/ttyUSB0", "/dev/lp0", "/dev/usb/lp1"})
        tree.node(node);
    tree.attribute("/sys/class/tty/ttyS1/type", "0");
    const QString usb = "/sys/devices/pci0/usb1/1-2";
    tree.attribute(usb + "/idVendor", "0403");
    tree.attribute(usb + "/idProduct", "6001");
    tree.attribute(usb + "/product", "FT232R USB UART");
    tree.attribute(usb + "/1-2:1.0/ttyUSB0/dev", "188:0");
    tree.link("/sys/class/tty/ttyUSB0/device", "../../../devices/pci0/usb1/1-2/1-2:1.0/ttyUSB0");
    tree.attribute("/sys/class/usbmisc/lp1/device/ieee1284_id", "MFG:Acme;MDL:T1;");
    tree.attribute("/sys/class/usbmisc/lp1/idVendor", "04b8");
    tree.attribute("/sys/class/usbmisc/lp1/idProduct", "0e15");
}

// What opening the port says to the user nobody with only the given group, from a child
// process, within a bound.
std::string reasonAsNobody(const std::string& portText, qint32 mode, gid_t group)
{
    int reason[2];
    if (::pipe(reason) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 ||
            ::setuid(nobody->pw_uid) != 0)
            ::_exit(1);
        SystemPrinterSdk sdk(systemPortFor);
        const std::string outcome = sendDocument(sdk, portText, mode, "x");
        ::_exit(::write(reason[1], outcome.data(), outcome.size()) > 0 ? 0 : 1);
    }
    ::close(reason[1]);
    std::string outcome;
    char buffer[4096];
    pollfd readable{reason[0], POLLIN, 0};
    for (ssize_t n; ::poll(&readable, 1, 10000) > 0 && (n = ::read(reason[0], buffer, 4096)) > 0;)
        outcome.append(buffer, std::size_t(n));
    ::close(reason[0]);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return outcome;
}

// A printer that answers each status and identity request it reads as a ready one would, after
// a wait and, when told to, after an automatic status block; never, for a wait below 0.
LoopbackPrinter::Answers answeringPrinter(int waitMs, bool statusBlockFirst = false)
{
    return [=](std::string_view received) {
        std::string answer;
        for (std::size_t at = 0; waitMs >= 0 && at + 3 <= received.size(); at += 3) {
            const char n = received[at + 2];
            answer += statusBlockFirst ? std::string("\x14\0\0\0", 4) : "";
            answer += received[at] == '\x10' ? std::string(1, n == 1 ? '\x16' : '\x12')
                      : n == 2               ? std::string(1, '\x02')
                                             : std::string("_ACME\0", 6);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(waitMs, 0)));
        return answer;
    };
}

// Each kind of port of this platform against a stand-in printer: loopback TCP, a
// pseudo-terminal, a FIFO and the private cupsd that scripts/test starts.
class TestPrinter : public QObject
{
    Q_OBJECT

private slots:
    // First, before any test has loaded the module: without it a queue neither opens nor
    // lists, and says what is missing.
    void queueWithoutModuleSaysWhatIsMissing_data()
    {
        QTest::addColumn<QByteArray>("module");
        QTest::addColumn<QString>("missing"); // a pattern
        QTest::newRow("no such file")
            << QByteArray("/nonexistent/blackmark-cups.so")
            << "^/nonexistent/blackmark-cups.so: cannot open shared object file: No such file or "
               "directory$";
        QTest::newRow("no entry points")
            << QByteArray(BLACKMARK_OTHER_LIBRARY)
            << ".so[.0-9]*: undefined symbol: blackmark_cups_make_queue_port_1$";
    }
    void queueWithoutModuleSaysWhatIsMissing()
    {
        QFETCH(QByteArray, module);
        QFETCH(QString, missing);
        const QByteArray found = qgetenv("BLACKMARK_CUPS_MODULE");
        qputenv("BLACKMARK_CUPS_MODULE", module);
        SystemPrinterSdk sdk(systemPortFor);
        const QString outcome = q(sendDocument(sdk, "Kitchen", OpenMode::PrinterQueue, "x"));
        const QueueListing listing = PrinterQueues::list();
        qputenv("BLACKMARK_CUPS_MODULE", found);
        const QString why = "printer queues need blackmark-cups.so, which could not be loaded: ";
        QVERIFY2(outcome.startsWith("open: " + why), qPrintable(outcome));
        QVERIFY2(QRegularExpression(missing).match(outcome.mid(why.size() + 6)).hasMatch(),
                 qPrintable(outcome));
        QCOMPARE(q(listing.failure), outcome.mid(6));
        QVERIFY(listing.queues.empty());
    }

    void queueNeedsAName()
    {
        SystemPrinterSdk sdk(systemPortFor);
        QCOMPARE(q(sendDocument(sdk, "", OpenMode::PrinterQueue, "x")),
                 QStringLiteral("open: no printer queue is chosen"));
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
        const QByteArray everyByte = QByteArray::fromStdString(EveryByteValue).repeated(254);
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
        SystemPrinterSdk sdk(systemPortFor);
        for (int i = 0; i < sends; ++i) {
            QElapsedTimer timer;
            timer.start();
            const std::string outcome =
                sendDocument(sdk, host.toStdString() + ':' + std::to_string(port),
                             OpenMode::Network, bytes.toStdString());
            QVERIFY2(timer.elapsed() < boundMs, qPrintable(QString::number(timer.elapsed())));
            QVERIFY2(QRegularExpression(failure).match(q(outcome)).hasMatch(), outcome.c_str());
            if (outcome.empty())
                QCOMPARE(QByteArray::fromStdString(printer.receiveDocument()), bytes);
        }
        QCOMPARE(q(sendDocument(sdk, next.address(), OpenMode::Network, "next")), QString());
        QCOMPARE(q(next.receiveDocument()), QStringLiteral("next"));
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
        const std::string name = serial             ? line.portText
                                 : port == "device" ? fifo.portText()
                                                    : "LPT " + port.toStdString();
        SystemPrinterSdk sdk(systemPortFor);
        QElapsedTimer timer;
        timer.start();
        const std::string outcome = sendDocument(sdk, name, mode, Large.substr(0, bytes));
        reader.join();
        QVERIFY2(timer.elapsed() < boundMs, qPrintable(QString::number(timer.elapsed())));
        QVERIFY2(QRegularExpression(failure).match(q(outcome)).hasMatch(), outcome.c_str());
        QCOMPARE(q(sendDocument(sdk, serial ? nextLine.portText : nextFifo.portText(), mode,
                                EveryByteValue)),
                 QString());
        QVERIFY(EveryByteValue == (serial ? nextLine.readArrived() : nextFifo.readArrived()));
        QCOMPARE(openDescriptors(), descriptors - farEndCloses);
        ::sigaction(SIGPIPE, nullptr, &after);
        ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
        QVERIFY(after.sa_handler == before.sa_handler && !sigismember(&blocked, SIGPIPE));
    }

    // Printers that answer badly: each enquiry ends within its bounds, and an answer is never
    // taken for another's.
    void enquiryFaults_data()
    {
        QTest::addColumn<int>("waitMs"); // before each answer; -1 never
        QTest::addColumn<bool>("statusBlockFirst");
        QTest::addColumn<QString>("subcommand");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("boundMs");
        const auto row = [](const char* name, int waitMs, bool blockFirst, const char* subcommand,
                            const char* said, int exitCode, int boundMs) {
            QTest::newRow(name) << waitMs << blockFirst << subcommand << said << exitCode
                                << boundMs;
        };
        row("never answers", -1, false, "status", "the printer did not answer", 1, 4500);
        row("answers late", 1500, false, "status", "the printer did not answer", 1, 6500);
        row("status block first, status", 0, true, "status", "ready to print", 0, 1000);
        row("status block first, identify", 0, true, "identify",
            "maker ACME, model ACME, firmware ACME, serial ACME, autocutter yes", 0, 1000);
    }
    void enquiryFaults()
    {
        QFETCH(int, waitMs);
        QFETCH(bool, statusBlockFirst);
        QFETCH(QString, subcommand);
        QFETCH(QString, said);
        QFETCH(int, exitCode);
        QFETCH(int, boundMs);
        LoopbackPrinter printer(LoopbackPrinter::Reads, AF_INET, 0,
                                answeringPrinter(waitMs, statusBlockFirst));
        SystemPrinterSdk sdk(systemPortFor);
        std::ostringstream out, err;
        BlackmarkCommandLine commandLine(sdk, {}, out, err, SystemDevicePaths);
        QElapsedTimer timer;
        timer.start();
        const int code =
            commandLine.run({"blackmark", "--ip", printer.address(), subcommand.toStdString()});
        QVERIFY2(timer.elapsed() < boundMs, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(q(out.str()), said + '\n');
        QCOMPARE(code, exitCode);
        QCOMPARE(q(err.str()), QString());
    }

    // Each row a baud rate: the line runs raw 8N1 at its speed while open and is given back as
    // it was, or the rate is refused before the line is touched.
    void serialLineIsRaw8N1_data()
    {
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<uint>("speed");
        QTest::addColumn<QString>("refusal"); // %P: the line's path
        QTest::newRow("38400") << 38400 << uint(B38400) << QString();
        QTest::newRow("115200") << 115200 << uint(B115200) << QString();
        QTest::newRow("1000000") << 1000000 << uint(B1000000) << QString();
        QTest::newRow("no constant")
            << 12345 << 0u
            << "%P: the baud rate 12345 is not one a serial line here runs at; use a standard "
               "rate such as 9600, 19200, 38400 or 115200";
        QTest::newRow("zero") << 0 << 0u << "%P: the baud rate 0 is not one a line can run at";
    }
    void serialLineIsRaw8N1()
    {
        QFETCH(int, baudRate);
        QFETCH(uint, speed);
        QFETCH(QString, refusal);
        PseudoTerminal line;
        termios settings{}, before{};
        QCOMPARE(::tcgetattr(line.slave, &before), 0);
        SystemPrinterSdk sdk(systemPortFor);
        const qint32 handle = sdk.POS_Open(line.portText, baudRate, 8, 0, 0, OpenMode::Serial);
        if (!refusal.isEmpty()) {
            QCOMPARE(handle, -1);
            QCOMPARE(q(sdk.lastFailure()), refusal.replace("%P", q(line.path())));
            return;
        }
        QVERIFY2(handle > 0, sdk.lastFailure().c_str());
        QCOMPARE(::tcgetattr(line.slave, &settings), 0);
        QCOMPARE(::cfgetospeed(&settings), speed_t(speed));
        QCOMPARE(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        QCOMPARE(settings.c_oflag & OPOST, tcflag_t(0));
        QCOMPARE(settings.c_lflag & (ICANON | ECHO), tcflag_t(0));
        QCOMPARE(settings.c_iflag & (IXON | IXOFF | ICRNL), tcflag_t(0));
        QCOMPARE(sdk.POS_Close(), 1);
        QCOMPARE(::tcgetattr(line.slave, &settings), 0);
        QCOMPARE(settings.c_lflag, before.c_lflag);
        QCOMPARE(::cfgetospeed(&settings), ::cfgetospeed(&before));
    }

    // Each row a line whose printer answers a request after a wait, or goes away instead: the
    // answer is read, or the failure told with its reason; a FIFO never reads back what it was
    // sent. After an answer that came later than the request's line time, a document that fills
    // the line still has its own time.
    void answersOverEachLine_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("answerAfterMs"); // -1: the far end closes instead
        QTest::addColumn<QString>("said");
        const auto row = [](const char* name, const char* port, int waitMs, const char* said) {
            QTest::newRow(name) << port << waitMs << said;
        };
        row("serial line answers late", "COM", 2300, "read 12, sent 24576, close ok");
        row("serial line goes away", "COM", -1,
            "read -1: read from %P: Input/output error, close: drain %P: Input/output error");
        row("printer device answers", "LPT", 0, "read 12, sent 24576, close ok");
        row("printer device goes away", "LPT", -1,
            "read -1: read from %P: Input/output error, close ok");
        row("FIFO", "FIFO", 0,
            "read -1: this port carries nothing back from the printer, sent 24576, close ok");
    }
    void answersOverEachLine()
    {
        QFETCH(QString, port);
        QFETCH(int, answerAfterMs);
        QFETCH(QString, said);
        PseudoTerminal line;
        FifoPrinter fifo;
        const bool isFifo = port == "FIFO";
        int& farEnd = isFifo ? fifo.reader : line.master;
        const std::string document(24576, 'd');
        termios raw{};
        ::cfmakeraw(&raw);
        ::tcsetattr(line.slave, TCSANOW, &raw); // a printer device is not opened raw
        ssize_t arrived = -3;                   // the request is not counted
        std::thread printer([&] {
            pollfd readable{farEnd, POLLIN, 0};
            char some[4096];
            if (::poll(&readable, 1, 5000) <= 0 || (arrived += ::read(farEnd, some, 4096)) <= -3)
                return;
            if (answerAfterMs < 0)
                return ::close(std::exchange(farEnd, -1)), void();
            std::this_thread::sleep_for(std::chrono::milliseconds(answerAfterMs));
            [[maybe_unused]] const ssize_t answered = ::write(farEnd, "\x12", 1);
            // The line stays full past the request's time and its extension for the document.
            std::this_thread::sleep_for(std::chrono::milliseconds(answerAfterMs));
            for (ssize_t n; ::poll(&readable, 1, 1000) > 0 && (n = ::read(farEnd, some, 4096)) > 0;)
                arrived += n;
        });
        const std::string name = isFifo ? fifo.portText() : port.toStdString() + " " + line.path();
        SystemPrinterSdk sdk(systemPortFor);
        const qint32 handle =
            sdk.POS_Open(name, 115200, 8, 0, 0,
                         port == "COM" ? OpenMode::Serial : OpenMode::ParallelOrUsbDevice);
        QVERIFY2(handle > 0, sdk.lastFailure().c_str());
        QCOMPARE(sdk.POS_StartDoc(), 1);
        QCOMPARE(sdk.POS_WriteFile(handle, "\x10\x04\x01", 3), 3);
        char answer[8];
        const qint32 read = sdk.POS_ReadFile(handle, answer, sizeof answer, 5000);
        QString outcome = read > 0 ? "read " + q(RecordingPrinterSdk::hex({answer, size_t(read)}))
                                   : "read " + QString::number(read) + ": " + q(sdk.lastFailure());
        if (answerAfterMs >= 0 &&
            sdk.POS_WriteFile(handle, document.data(), qint32(document.size())) < 0)
            outcome += ", write: " + q(sdk.lastFailure());
        QCOMPARE(sdk.POS_EndDoc(), 1);
        outcome += sdk.POS_Close() < 0 ? ", close: " + q(sdk.lastFailure()) : QString();
        printer.join();
        if (answerAfterMs >= 0)
            outcome += ", sent " + QString::number(arrived);
        QCOMPARE(outcome + (outcome.contains("close:") ? "" : ", close ok"),
                 QString(said).replace("%P", q(line.path())));
    }

    // A network printer that ends its side before it answers: the read says so; one that goes
    // away altogether fails the next write, and every call after that says it failed before.
    void networkPrinterGoesAway()
    {
        for (const auto behaviour :
             {LoopbackPrinter::HalfClosesFirst, LoopbackPrinter::ReadsPart}) {
            LoopbackPrinter printer(behaviour);
            SystemPrinterSdk sdk(systemPortFor);
            const qint32 handle = sdk.POS_Open(printer.address(), 0, 8, 0, 0, OpenMode::Network);
            QVERIFY(handle > 0 && sdk.POS_WriteFile(handle, "\x10\x04\x01", 3) == 3);
            QTest::qWait(200); // the printer has ended its side
            QStringList said;
            char answer[4];
            for (int call = 0; call < 4; ++call) {
                const bool failed = call % 2 ? sdk.POS_WriteFile(handle, Large.data(), 1 << 20) < 0
                                             : sdk.POS_ReadFile(handle, answer, 4, 2000) < 0;
                said << (failed ? q(sdk.lastFailure()) : "ok");
            }
            said << (sdk.POS_Close() < 0 ? q(sdk.lastFailure()) : "ok");
            const QString at = q(printer.address());
            const QString closed = "read from " + at + ": the printer closed the connection";
            const QString before = at + ": the connection has failed before";
            const QStringList expected =
                behaviour == LoopbackPrinter::HalfClosesFirst
                    ? QStringList{closed, "ok", closed, "ok", "ok"}
                    : QStringList{closed,
                                  at +
                                      ": the printer reset the connection after N of 1048579 bytes",
                                  "read from " + before, "write to " + before, "ok"};
            QCOMPARE(said.replaceInStrings(QRegularExpression("after \\d+ of"), "after N of"),
                     expected);
        }
    }

    void numberedPortsAreLinuxDevices()
    {
        QCOMPARE(q(DeviceNames::serialLine("COM12").path), QStringLiteral("/dev/ttyS11"));
        QCOMPARE(q(DeviceNames::printerDevice("LPT1").path), QStringLiteral("/dev/lp0"));
        QCOMPARE(q(DeviceNames::serialLine("COM /dev/pts/3").path), QStringLiteral("/dev/pts/3"));
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
            SystemPrinterSdk sdk(systemPortFor);
            const std::string path = folder.filePath(file).toStdString();
            QCOMPARE(q(sendDocument(sdk, "LPT " + path, OpenMode::ParallelOrUsbDevice, "x")),
                     q("open: " + path + reason));
        }
        QCOMPARE(notes.size(), 7); // neither truncated nor written
    }

    void queueJobArrives()
    {
        const std::string queue = qgetenv("BLACKMARK_TEST_QUEUE").toStdString();
        const quint16 port = quint16(qEnvironmentVariableIntValue("BLACKMARK_TEST_QUEUE_PORT"));
        if (queue.empty() || port == 0 || qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QSKIP("no private cupsd (scripts/test starts one)");
        const LoopbackPrinter silentServer; // takes the request and never answers
        cupsSetServer(silentServer.address().c_str());
        SystemPrinterSdk sdk(systemPortFor);
        QElapsedTimer timer;
        timer.start();
        const std::string outcome = sendDocument(sdk, queue, OpenMode::PrinterQueue, "lost");
        const qint64 elapsed = timer.elapsed();
        cupsSetServer(nullptr);
        QCOMPARE(q(outcome), q("open: look up printer queue \"" + queue + "\" (print server " +
                               silentServer.address() + "): no answer within 5 s"));
        QVERIFY2(elapsed < 5500, qPrintable(QString::number(elapsed)));

        LoopbackPrinter printer(LoopbackPrinter::Reads, AF_INET, port);
        const std::string bytes = QByteArray::fromHex("1F1B1F80040506440A1B40").toStdString();
        const std::vector<std::string> names = PrinterQueues::list().names();
        QVERIFY(std::find(names.begin(), names.end(), queue) != names.end());
        QCOMPARE(q(sendDocument(sdk, queue, OpenMode::PrinterQueue, bytes)), QString());
        QVERIFY(printer.receiveDocument(30000) == bytes);

        // A job left unfinished is cancelled and never reaches the printer.
        const qint32 handle = sdk.POS_Open(queue, 0, 0, 0, 0, OpenMode::PrinterQueue);
        QVERIFY(sdk.POS_StartDoc() > 0);
        QCOMPARE(sdk.POS_WriteFile(handle, "lost", 4), 4);
        QCOMPARE(sdk.POS_Close(), -1);
        QCOMPARE(q(sdk.lastFailure()),
                 q("the job on printer queue \"" + queue + "\" was not finished and is cancelled"));
        QCOMPARE(q(sendDocument(sdk, queue, OpenMode::PrinterQueue, "kept")), QString());
        QCOMPARE(q(printer.receiveDocument(30000)), QStringLiteral("kept"));
        QCOMPARE(q(sendDocument(sdk, "blackmark-no-such-queue", OpenMode::PrinterQueue, "x")),
                 QStringLiteral("open: no printer queue named \"blackmark-no-such-queue\""));
        QCOMPARE(cancelledJobsThatStarted(queue), QList<int>());
    }

    // Each row a port that will not open and the reason, which says what to do; %R is the
    // root of the fake device tree.
    void openFailureSaysWhatToDo_data()
    {
        QTest::addColumn<QString>("portText"); // "held" is a line that another port holds
        QTest::addColumn<QString>("reason");
        const QString lines = "the serial lines here are: COM1 (%R/dev/ttyS0), COM3 "
                              "(%R/dev/ttyS2), COM11 (%R/dev/ttyS10), %R/dev/ttyUSB0";
        const char* const rows[][3] = {
            {"missing serial line", "COM %R/dev/ttyUSB7", "%R/dev/ttyUSB7 does not exist; %L"},
            {"no hardware", "COM %R/dev/ttyS1", "%R/dev/ttyS1 has no serial port behind it; %L"},
            {"not a line", "COM /dev/null", "/dev/null is not a serial line"},
            {"missing printer device", "LPT %R/dev/usb/lp3",
             "%R/dev/usb/lp3 does not exist; the printer devices here are: LPT1 (%R/dev/lp0), "
             "%R/dev/usb/lp1"},
            {"busy", "held",
             "%P is busy: pid %I (tst_printer) holds it; end that program and try again"}};
        for (const auto& [name, portText, reason] : rows)
            QTest::newRow(name) << QString(portText) << QString(reason).replace("%L", lines);
    }
    void openFailureSaysWhatToDo()
    {
        QFETCH(QString, portText);
        QFETCH(QString, reason);
        FakeDeviceTree tree;
        makeDevices(tree);
        qputenv("BLACKMARK_DEVICE_ROOT", QFile::encodeName(tree.root.path()));
        PseudoTerminal line;
        SystemPrinterSdk holder(systemPortFor), sdk(systemPortFor);
        if (portText == "held")
            QVERIFY(holder.POS_Open(line.portText, 9600, 8, 0, 0, OpenMode::Serial) > 0);
        const QString name = portText == "held" ? q(line.portText) : portText;
        const std::string outcome = sendDocument(
            sdk, QString(name).replace("%R", tree.root.path()).toStdString(),
            name.startsWith("COM") ? OpenMode::Serial : OpenMode::ParallelOrUsbDevice, "x");
        qunsetenv("BLACKMARK_DEVICE_ROOT");
        QCOMPARE(q(outcome), "open: " + reason.replace("%R", tree.root.path())
                                            .replace("%P", q(line.path()))
                                            .replace("%I", QString::number(::getpid())));
    }

    // Each row a device that the user may not write to and what the reason tells them to do,
    // the user being nobody with one group.
    void permissionSaysWhatToDo_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("owners");    // the device's group; mode 0600 for root
        QTest::addColumn<QString>("userGroup"); // the only group of the user
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* name, const char* kind, const char* owners,
                            const char* userGroup, const QString& reason) {
            QTest::newRow(name) << kind << owners << userGroup
                                << "open: permission denied: " + reason;
        };
        const QString join = "%P belongs to group lp; add yourself with `sudo usermod -aG lp "
                             "$USER` and log in again";
        row("printer device, owner only", "LPT", "root", "nogroup",
            "only the owner of %P may write to it; ask the administrator to give it a group such "
            "as dialout or lp");
        row("printer device, not in group", "LPT", "lp", "nogroup", join);
        row("serial line, not in group", "COM", "lp", "nogroup", join);
        row("joined since login", "COM", "nogroup", "lp",
            "%P belongs to group nogroup, which you joined after this login began; log out and "
            "in again");
    }
    void permissionSaysWhatToDo()
    {
        QFETCH(QString, kind);
        QFETCH(QString, owners);
        QFETCH(QString, userGroup);
        QFETCH(QString, reason);
        const group* found = ::getgrnam(qPrintable(owners));
        const gid_t deviceGroup = found ? found->gr_gid : 0;
        found = ::getgrnam(qPrintable(userGroup));
        if (::geteuid() != 0 || !found || !::getpwnam("nobody"))
            QSKIP("needs root, the user nobody and the groups");
        const gid_t usersGroup = found->gr_gid;
        FifoPrinter fifo;
        PseudoTerminal line;
        const std::string path = kind == "LPT" ? fifo.path : line.path();
        ::chmod(qPrintable(fifo.folder.path()), 0711);
        QCOMPARE(::chown(path.c_str(), 0, deviceGroup) |
                     ::chmod(path.c_str(), owners == "root" ? 0600 : 0660),
                 0);
        const std::string outcome = reasonAsNobody(
            kind.toStdString() + " " + path,
            kind == "LPT" ? OpenMode::ParallelOrUsbDevice : OpenMode::Serial, usersGroup);
        QCOMPARE(q(outcome), reason.replace("%P", q(path)));
    }

    // Each row a failed open as this user sees it, down to what the system said: the device is
    // a file here, made root's, the group lp's, or a FIFO that nothing reads.
    void openFailureReasons_data()
    {
        QTest::addColumn<QString>("file"); // "root", "lp", "fifo" or "none"
        QTest::addColumn<bool>("serial");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* name, const char* file, bool serial, int error,
                            const char* reason) {
            QTest::newRow(name) << file << serial << error << reason;
        };
        row("nothing to list", "none", true, ENOENT,
            "%P does not exist, and this machine has no serial lines; `blackmark ports` lists the "
            "ports it has");
        row("root's", "root", false, EACCES,
            "permission denied: only the owner of %P may write to it; ask the administrator to "
            "give it a group such as dialout or lp");
        row("a group's", "lp", false, EPERM,
            "permission denied: %P belongs to group lp; add yourself with `sudo usermod -aG lp "
            "$USER` and log in again");
        row("busy", "root", false, EBUSY, "%P is busy: another program holds it");
        row("other", "root", false, EIO, "%P: Input/output error");
        row("line that cannot tell", "fifo", true, EIO, "%P: Input/output error");
    }
    void openFailureReasons()
    {
        QFETCH(QString, file);
        QFETCH(bool, serial);
        QFETCH(int, error);
        QFETCH(QString, reason);
        const group* lp = ::getgrnam("lp");
        if (::geteuid() != 0 || !lp)
            QSKIP("needs root and the group lp");
        FakeDeviceTree tree;
        const std::string path = tree.path("/device").toStdString();
        if (file == "fifo")
            QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
        else if (file != "none")
            QVERIFY(QFile(q(path)).open(QIODevice::WriteOnly) &&
                    ::chown(path.c_str(), 0, file == "lp" ? lp->gr_gid : 0) == 0 &&
                    ::chmod(path.c_str(), file == "lp" ? 0660 : 0600) == 0);
        qputenv("BLACKMARK_DEVICE_ROOT", QFile::encodeName(tree.root.path()));
        const std::string said =
            OpenFailureReason::forDevice(serial ? OpenFailureReason::DeviceKind::SerialLine
                                                : OpenFailureReason::DeviceKind::PrinterDevice,
                                         path, path, error, std::generic_category().message(error));
        qunsetenv("BLACKMARK_DEVICE_ROOT");
        QCOMPARE(q(said), reason.replace("%P", q(path)));
    }

    // Numbered devices in their numbers' order, a serial port name without hardware left out,
    // a USB line's product and ids from the USB device above it, who holds a device, then the
    // queues.
    void listingOfADeviceTree()
    {
        FakeDeviceTree tree;
        makeDevices(tree);
        const int holding = ::open(qPrintable(tree.path("/dev/ttyS2")), O_RDONLY | O_NONBLOCK);
        qputenv("BLACKMARK_DEVICE_ROOT", QFile::encodeName(tree.root.path()));
        QueueListing queues;
        queues.queues.push_back({"Kitchen", "socket://10.0.0.9", true, false, false, "paper out"});
        QStringList lines;
        for (const ListedPort& port : PortListing::all(queues))
            lines << q(port.line());
        qunsetenv("BLACKMARK_DEVICE_ROOT");
        ::close(holding);
        QCOMPARE(lines.join('\n'),
                 QStringLiteral("COM1  serial line %R/dev/ttyS0\n"
                                "COM3  serial line %R/dev/ttyS2, busy: pid %I (tst_printer)\n"
                                "COM11  serial line %R/dev/ttyS10\n"
                                "COM %R/dev/ttyUSB0  serial line, FT232R USB UART, USB 0403:6001\n"
                                "LPT1  parallel port %R/dev/lp0\n"
                                "LPT %R/dev/usb/lp1  USB printer, MFG:Acme;MDL:T1;, USB 04b8:0e15\n"
                                "DRIVER --driver Kitchen  printer queue socket://10.0.0.9, "
                                "stopped, not accepting jobs: paper out")
                     .replace("%R", tree.root.path())
                     .replace("%I", QString::number(::getpid())));
    }

    void queuesTellTheirState()
    {
        const std::string missing = "/nonexistent/blackmark/cups.sock";
        QCOMPARE(q(PrinterQueues::list(missing).failure),
                 q("the print scheduler at " + missing + " cannot be reached; is it running?"));
        const QString queue = qEnvironmentVariable("BLACKMARK_TEST_QUEUE");
        const QString stopped = qEnvironmentVariable("BLACKMARK_TEST_STOPPED_QUEUE");
        if (stopped.isEmpty() || qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QSKIP("no private cupsd with a stopped queue (scripts/test starts one)");
        const QueueListing listing = PrinterQueues::list();
        QCOMPARE(q(listing.failure), QString());
        QStringList states;
        for (const PrinterQueue& each : listing.queues)
            states << q(each.name + ' ' + each.deviceUri + ' ' + each.stateText());
        const QString device =
            "socket://127.0.0.1:" + qEnvironmentVariable("BLACKMARK_TEST_QUEUE_PORT");
        QCOMPARE(states,
                 (QStringList{queue + ' ' + device + " idle",
                              stopped + ' ' + device + " stopped, not accepting jobs: paper out"}));
        SystemPrinterSdk sdk(systemPortFor);
        QCOMPARE(q(sendDocument(sdk, stopped.toStdString(), OpenMode::PrinterQueue, "x")),
                 QStringLiteral("open: printer queue \"%1\" is stopped, not accepting jobs: paper "
                                "out; once the printer is ready, let it print again with "
                                "`cupsenable %1` and `cupsaccept %1`")
                     .arg(stopped));
    }
};

QTEST_GUILESS_MAIN(TestPrinter)
#include "tst_printer.moc"
