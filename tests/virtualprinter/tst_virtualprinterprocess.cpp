#include "LoopbackPrinter.h"
#include "PortNames.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>
#include <thread>

// The virtual printer as its users run it: a process on loopback, under load and left idle.
namespace
{

class VirtualPrinter
{
public:
    // On a free loopback port unless the options say where.
    explicit VirtualPrinter(QStringList options, rlim_t addressSpace = RLIM_INFINITY)
    {
        port = LoopbackPrinter().port(); // free until the printer takes it
        if (!options.contains("--listen") && !options.contains("--pty"))
            options << "--listen" << QString::number(port);
        process_.setProgram(QStringLiteral(BLACKMARK_PRINTER));
        process_.setArguments(options);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setChildProcessModifier([addressSpace] {
            const rlimit limit{addressSpace, addressSpace};
            ::setrlimit(RLIMIT_AS, &limit);
        });
        process_.start();
    }
    ~VirtualPrinter()
    {
        // Asked to quit, as a user would, so that it ends cleanly and writes what it must.
        process_.terminate();
        if (!process_.waitForFinished(10000))
            process_.kill();
        process_.waitForFinished(5000);
    }

    // Waits, within a bound, for output that matches.
    bool waitFor(const QString& pattern, int boundMs = 20000)
    {
        const QRegularExpression expression(pattern);
        QDeadlineTimer deadline(boundMs);
        while (!expression.match(QString::fromUtf8(output_)).hasMatch()) {
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(100);
            output_ += process_.readAllStandardOutput();
        }
        return true;
    }
    QByteArray output() const { return output_; }
    // The most the process has held in memory so far, in MB.
    double peakMegabytes() const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(process_.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray text = status.readAll();
        const qsizetype at = text.indexOf("VmHWM:");
        return at < 0 ? -1 : text.mid(at + 6, 20).trimmed().split(' ').first().toDouble() / 1024;
    }
    // The exit code once it has ended, by itself or asked to, within a bound; -1 while it runs.
    int exitCode(bool asked = false)
    {
        if (asked)
            process_.terminate();
        if (!process_.waitForFinished(10000))
            return -1;
        output_ += process_.readAll();
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    bool running() const { return process_.state() == QProcess::Running; }

    quint16 port = 0;

private:
    QProcess process_;
    QByteArray output_;
};

// A receipt of text and a raster image of 576 x 14546 dots, one mebibyte.
QByteArray receiptBlock()
{
    const QByteArray block = QByteArray::fromHex("1B401B6101") +
                             QByteArray("TOTAL 12.50\n").repeated(100) +
                             QByteArray::fromHex("1D7630004800D238") + QByteArray(14546 * 72, 'Z') +
                             QByteArray::fromHex("1D5630");
    return block.leftJustified(1024 * 1024, '\n');
}

// Sends blocks as fast as the printer takes them, from a thread of its own, with a bound.
bool sendBlocks(quint16 port, const QByteArray& block, int count)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    bool sent = socket.waitForConnected(5000);
    for (int i = 0; sent && i < count; ++i) {
        sent = socket.write(block) == block.size();
        while (sent && socket.bytesToWrite() > 0)
            sent = socket.waitForBytesWritten(30000);
    }
    return sent;
}

// The exit code and output of the command line asking the printer, on the port given or on
// the printer's network port.
QString runCommandLine(const VirtualPrinter& printer, const QStringList& words,
                       const QString& portText = {})
{
    QProcess cli;
    cli.start(QStringLiteral(BLACKMARK_CLI),
              (portText.isEmpty()
                   ? QStringList{"--ip", QStringLiteral("127.0.0.1:%1").arg(printer.port)}
                   : QStringList{"--port", portText, "--baud", "115200"}) +
                  words);
    cli.waitForFinished(10000);
    return QString::number(cli.exitCode()) + ' ' + cli.readAllStandardOutput();
}

} // namespace

class TestVirtualPrinterProcess : public QObject
{
    Q_OBJECT

private slots:
    void takesSmallDocumentWhileLargeOneStreams()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer reserves more address space than the cap allows");
#endif
        // The libraries take about 55 MB; the 50 MB document must not be held whole.
        VirtualPrinter printer({}, rlim_t(128) << 20);
        QVERIFY(printer.waitFor("listening on"));
        bool sent = false;
        std::thread large([&] { sent = sendBlocks(printer.port, receiptBlock(), 50); });
        QVERIFY(printer.waitFor("document 1 from"));

        QVERIFY(sendBlocks(printer.port, QByteArray::fromHex("1F1B1F810405066009"), 1));
        // The large one's lines may come between the small one's line and its end.
        const bool smallTaken =
            printer.waitFor("  1F 1B 1F 81 04 05 06 60 09  black mark max width 300 mm") &&
            printer.waitFor("document 2 from [^\\n]*, 9 bytes\\n");
        // Reading the printer's output while the large one streams keeps it from blocking on it.
        const bool largeTaken = printer.waitFor("document 1 from [^\\n]*, 52428800 bytes\\n");
        large.join();
        QVERIFY2(smallTaken, printer.output().right(2000).constData());
        QVERIFY(sent);
        QVERIFY2(largeTaken, printer.output().right(2000).constData());
        QVERIFY(printer.running());
    }

    void drawsALargeDocumentInFlatMemory()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer's shadow memory is counted in the peak");
#endif
        QCOMPARE(QProcess::execute(QStringLiteral(BLACKMARK_PRINTER), {"--paper", "holes:4"}), 2);
        QCOMPARE(QProcess::execute(QStringLiteral(BLACKMARK_PRINTER), {"--paper-width", "9"}), 2);
        QTemporaryDir pictures;
        VirtualPrinter printer({"--paper", "black-mark:80", "--pictures", pictures.path()});
        QVERIFY(printer.waitFor("listening on"));
        bool sent = false;
        std::thread large([&] { sent = sendBlocks(printer.port, receiptBlock(), 64); });
        const bool taken = printer.waitFor("67108864 bytes\n(.|\n)*-part-\\d+.png\n", 120000);
        large.join();
        QVERIFY(sent);
        QVERIFY2(taken, printer.output().right(2000).constData());
        // A part of 2 m at most for each mebibyte's 2.2 m of paper, each in a file of its own.
        QVERIFY(QDir(pictures.path()).entryList(QDir::Files).size() >= 64);
        QCOMPARE_LT(printer.peakMegabytes(), 64.0);
    }

    // The command line asks the virtual printer, each as the printer's options have it.
    void answersTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("subcommand");
        QTest::addColumn<QString>("said"); // the exit code, then the output
        QTest::newRow("identify") << QStringList{"--identity", "ACME;T-1;2.0;XY"} << "identify"
                                  << "0 maker ACME, model T-1, firmware 2.0, serial XY, autocutter "
                                     "yes\n";
        QTest::newRow("near end") << QStringList{"--paper-near-end"} << "status"
                                  << "0 ready to print, paper near end\n";
        QTest::newRow("paper end") << QStringList{"--paper-end"} << "status"
                                   << "3 cannot print: offline, stopped at paper end, paper near "
                                      "end, paper end\n";
        QTest::newRow("no answers") << QStringList{"--no-status"} << "status"
                                    << "1 the printer did not answer\n";
    }
    void answersTheCommandLine()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, subcommand);
        QFETCH(QString, said);
        VirtualPrinter printer(options);
        QVERIFY(printer.waitFor("listening on"));
        QCOMPARE(runCommandLine(printer, {subcommand}), said);
    }

    // Each row the options given and what the printer says: it listens where it is told, or
    // ends with the reason and the exit code of bad words (2) or of a failure (1).
    void startsAsToldOrSaysWhy_data()
    {
        QTest::addColumn<QStringList>("options"); // %P a free port, %T one already taken
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("exitCode"); // -1: it runs
        const auto row = [](const char* name, const QStringList& options, const char* said,
                            int exitCode) { QTest::newRow(name) << options << said << exitCode; };
        row("host and port", {"--listen", "127.0.0.1:%P"}, "listening on 127.0.0.1:%P\n", -1);
        row("port alone", {"--listen", "%P"}, "listening on 127.0.0.1:%P\n", -1);
        row("port taken", {"--listen", "%T"},
            "blackmark-printer: listen on 127.0.0.1:%T: The bound address is already in use\n", 1);
        row("no port", {"--listen", "127.0.0.1:x"}, "blackmark-printer: %R\n", 2);
        row("idle out of range", {"--idle", "0"},
            "blackmark-printer: --idle takes whole seconds from 1 to 86400, not \"0\"\n", 2);
        row("identity too long", {"--identity", QString(81, 'A') + ";B;C;D"},
            "blackmark-printer: --identity takes MAKER;MODEL;FIRMWARE;SERIAL, each part of at "
            "most 80 printable ASCII characters, not \"%A;B;C;D\"\n",
            2);
    }
    void startsAsToldOrSaysWhy()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, said);
        QFETCH(int, exitCode);
        LoopbackPrinter taken;
        const quint16 free = LoopbackPrinter().port();
        const auto placed = [&](QString text) {
            return text.replace("%P", QString::number(free))
                .replace("%T", QString::number(taken.port()))
                .replace("%A", QString(81, 'A'))
                .replace("%R", QString::fromStdString(
                                   PortNames::readListenAddress("127.0.0.1:x").refusal));
        };
        for (QString& option : options)
            option = placed(option);
        VirtualPrinter printer(options);
        printer.port = free;
        if (exitCode < 0) {
            QVERIFY(printer.waitFor("listening on"));
            QCOMPARE(runCommandLine(printer, {"status"}), "0 ready to print\n");
        } else {
            QCOMPARE(printer.exitCode(), exitCode);
        }
        QCOMPARE(QString::fromUtf8(printer.output()), placed(said));
    }

    // As a serial line: the command line's request is answered over it, and a pause in the
    // bytes ends the document.
    void answersOverASerialLine()
    {
        VirtualPrinter printer({"--pty"});
        QVERIFY(
            printer.waitFor("serial line on /dev/pts/\\d+ \\(port text: COM /dev/pts/\\d+\\)\n"));
        const QString path = QRegularExpression("on (/dev/pts/\\d+)")
                                 .match(QString::fromUtf8(printer.output()))
                                 .captured(1);
        QCOMPARE(runCommandLine(printer, {"status"}, "COM " + path), "0 ready to print\n");
        QVERIFY(printer.waitFor("  10 04 01  DLE EOT: printer status request \\(answer: 16\\)\n"));
        QVERIFY2(printer.waitFor("document 1 from " + path + ", 12 bytes\n"),
                 printer.output().constData());
        QCOMPARE(runCommandLine(printer, {"status"}, "COM " + path), "0 ready to print\n");
        QVERIFY(printer.waitFor("document 2 from " + path + ", 12 bytes\n"));
        QCOMPARE(printer.exitCode(true), 0); // asked to quit, as by Ctrl+C
    }

    // The window's program answers --help and --version without a display.
    void setupAnswersWithoutWindow()
    {
        QProcess setup;
        setup.setProcessEnvironment(QProcessEnvironment()); // no display, no platform chosen
        QByteArray output;
        for (const char* option : {"--help", "--version"}) {
            setup.start(QStringLiteral(BLACKMARK_SETUP), {option});
            QVERIFY(setup.waitForFinished(10000) && setup.exitCode() == 0);
            output += setup.readAllStandardOutput();
        }
        QVERIFY(output.startsWith("Usage: "));
        QVERIFY(output.contains("  -v, --version  "));
        QVERIFY(output.endsWith("\nblackmark-setup " PROJECT_VERSION "\n"));
    }

    // The paper layout set, saved and shown again, as the printer keeps it.
    void layoutRoundTrip()
    {
        VirtualPrinter printer({});
        QVERIFY(printer.waitFor("listening on"));
        QCOMPARE(runCommandLine(printer, {"layout", "black-mark", "--pitch", "100", "--print-start",
                                          "-2.5", "--save"}),
                 "0 ");
        QCOMPARE(runCommandLine(printer, {"layout", "show"}),
                 "0 as set: black-mark paper; pitch 100 mm, print start -2.5 mm, cut not set, "
                 "label bottom not set, printing area bottom not set, horizontal not set\n"
                 "in effect: black-mark paper; pitch 800 dots, print start -20 dots, cut not "
                 "set, label bottom not set, printing area bottom not set, horizontal not set\n");
        QVERIFY(printer.waitFor("saved paper layout black-mark paper \\(pitch 100 mm, print "
                                "start -2.5 mm\\), loaded at start-up"));
    }

    void answersStatusAndClosesWhenIdle_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("ready printer") << QStringList{"--idle", "1"} << QByteArray("\x16");
        QTest::newRow("no status") << QStringList{"--idle", "1", "--no-status"} << QByteArray();
    }
    void answersStatusAndClosesWhenIdle()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, answer);
        VirtualPrinter printer(options);
        QVERIFY(printer.waitFor("listening on"));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, printer.port);
        QVERIFY(client.waitForConnected(5000));
        client.write(QByteArray::fromHex("100401"));
        // Then nothing: the printer ends it.
        QVERIFY(client.state() == QAbstractSocket::UnconnectedState ||
                client.waitForDisconnected(10000));
        QCOMPARE(client.readAll(), answer);
        QVERIFY(
            printer.waitFor("document 1 from [^\\n]*, 3 bytes, closed after 1 s without data\\n"));
    }

    // The page lists what the printer received, under the address it came to.
    void servesTheWebPage()
    {
        const QString web = QString::number(LoopbackPrinter().port());
        VirtualPrinter printer({"--web", web});
        QVERIFY(printer.waitFor("web page on http://127.0.0.1:" + web + "/"));
        QVERIFY(sendBlocks(printer.port, "hello <b>\n", 1));
        QVERIFY(printer.waitFor("document 1 from [^\\n]*, 10 bytes"));
        QTcpSocket page;
        page.connectToHost(QHostAddress::LocalHost, web.toUShort());
        page.write("GET /updates.json HTTP/1.1\r\n\r\n");
        QByteArray response;
        while (!response.endsWith("\"}]}") && page.waitForReadyRead(5000))
            response += page.readAll();
        QVERIFY2(response.contains("text \\\"hello \\u003cb\\u003e\\\"") &&
                     response.contains("\"name\":\"127.0.0.1:" + QByteArray::number(printer.port)),
                 response.constData());
    }
};

QTEST_GUILESS_MAIN(TestVirtualPrinterProcess)
#include "tst_virtualprinterprocess.moc"
