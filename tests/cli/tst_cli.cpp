#include "BlackmarkCommandLine.h"
#include "FakeDeviceTree.h"
#include "PseudoTerminal.h"
#include "RecordingPrinterSdk.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <fcntl.h>
#include <grp.h>
#include <unistd.h>

namespace
{

// One run of the command line: what it said, or what it sent ("POS_Open(...);bytes").
struct Case {
    QStringList arguments;
    qint32 openOrWriteResult; // 7 opens and writes all; -1 fails the open; 3 writes 3 bytes
    int exitCode;
    QString said;
    QString told = {}; // on the error stream of a sent case, times as "T"
};

QueueListing kitchenAndLabels()
{
    QueueListing listing;
    listing.queues.resize(2);
    listing.queues[0].name = "Kitchen";
    listing.queues[1].name = "Labels";
    return listing;
}

// Runs the command line on the arguments; out and err get what it printed.
int run(PrinterSdk& sdk, const QStringList& arguments, QString& out, QString& err,
        const BlackmarkCommandLine::QueueSource& queues = kitchenAndLabels)
{
    QTextStream outStream(&out), errStream(&err);
    BlackmarkCommandLine commandLine(sdk, queues, outStream, errStream);
    const int code = commandLine.run(QStringList{"blackmark"} + arguments);
    outStream.flush();
    errStream.flush();
    return code;
}

} // namespace

Q_DECLARE_METATYPE(Case)

// The command line's words, against a recording SDK.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<Case>("c");
        const QStringList ip{"--ip", "127.0.0.1:9100"};
        const auto sent = [&](const char* name, const QStringList& words, const char* bytes,
                              const char* open = "127.0.0.1:9100,0,0,0,0,21",
                              const QString& told = {}) {
            const bool network = !words.contains("--port");
            QTest::newRow(name) << Case{network ? ip + words : words, 7, 0,
                                        QStringLiteral("POS_Open(%1);%2").arg(open, bytes), told};
        };
        const auto refused = [&](const char* name, const QStringList& words, const QString& why) {
            const bool network = !words.contains("--port") && !words.contains("--ip");
            QTest::newRow(name) << Case{network ? ip + words : words, 7, 2,
                                        "blackmark: " + why + "\n"};
        };
        const QString help = QStringLiteral("\n(see blackmark --help)");
        // Each subcommand reaches its own button, with its distance or switch.
        sent("mark-width", {"mark-width", "300"}, "1F 1B 1F 81 04 05 06 60 09");
        sent("paper-width", {"paper-width", "10"}, "1F 1B 1F 82 04 05 06 50 00");
        sent("print-start feed", {"print-start", "feed", "12.5"}, "1D 28 46 04 00 01 00 64 00");
        sent("print-start backfeed", {"print-start", "backfeed", "1"},
             "1D 28 46 04 00 01 01 08 00");
        sent("cut-position feed", {"cut-position", "feed", "32"}, "1D 28 46 04 00 02 00 00 01");
        sent("cut-position backfeed", {"cut-position", "backfeed", "2"},
             "1D 28 46 04 00 02 01 10 00");
        sent("black-mark on", {"black-mark", "on"}, "1F 1B 1F 80 04 05 06 44");
        sent("black-mark off", {"black-mark", "off"}, "1F 1B 1F 80 04 05 06 66");
        sent("test-print", {"test-print"},
             "1B 40 1D 0C 2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 "
             "20 50 4F 53 49 54 49 4F 4E 2A 2A 2A 2A 0A");
        sent("send", {"send", " 1b 40 "}, "1B 40");
        sent("serial", {"--port", "COM3", "--baud", "9600", "test-cut"}, "1B 40 1D 56 30 0A",
             "COM3,9600,8,0,0,1");
        sent("named printer", {"--port", "DRIVER", "--driver", "Labels", "test-cut"},
             "1B 40 1D 56 30 0A", "Labels,0,0,0,0,20");
        const QString notSent = " is not a distance: give a decimal number of millimetres, "
                                "such as 2.5 or 2.5mm" +
                                help;
        const QString network = QStringLiteral(" is not a network address: ");
        sent("unit and rounding", {"print-start", "backfeed", " 2.51mm"},
             "1D 28 46 04 00 01 01 14 00", "127.0.0.1:9100,0,0,0,0,21",
             "blackmark: 2.51 mm sent as 2.5 mm, 20 counts\n");
        sent("verbose", {"--verbose", "black-mark", "on"}, "1F 1B 1F 80 04 05 06 44",
             "127.0.0.1:9100,0,0,0,0,21",
             "blackmark: T ms opened: 127.0.0.1:9100\nblackmark: T ms wrote 8 bytes\n"
             "blackmark: T ms closed\nblackmark: T ms confirmed: the port took all 8 bytes and "
             "closed cleanly\n");
        for (const char* distance : {"abc", "", "nan", "inf", "1,5", "1e2", "-1"})
            refused(distance, {"mark-width", distance}, '"' + QString(distance) + '"' + notSent);
        refused("port out of range", {"--ip", "127.0.0.1:99999", "test-cut"},
                "\"127.0.0.1:99999\"" + network + "the port must be a number from 1 to 65535" +
                    help);
        refused("empty address", {"--ip", "", "test-cut"}, "\"\"" + network + "it is empty" + help);
        refused("no address", {"--port", "ETHERNET", "test-cut"},
                "--port ETHERNET needs --ip ADDRESS: the printer's network address" + help);
        refused("COM0", {"--port", "COM0", "test-cut"},
                "\"COM0\" is not a serial port: use COM followed by a number from 1, or by a "
                "device path such as COM /dev/..." +
                    help);
        refused("missing distance", {"mark-width"}, "mark-width takes one distance in mm" + help);
        refused("bad direction", {"cut-position", "up", "3"},
                "cut-position takes feed or backfeed, not \"up\"" + help);
        refused("bad hex", {"send", "1B  40"},
                "This is not a printer command; nothing was sent. empty token after token 1");
        refused("port without kind", {"--port", "com1", "test-cut"},
                "\"com1\" is no port: it must begin with ETH, COM, LPT or DRI. Did you mean "
                "\"COM1\"?" +
                    help);
        refused("near miss", {"--port", "Eth", "test-cut"},
                "\"Eth\" is no port: it must begin with ETH, COM, LPT or DRI. Did you mean "
                "\"ETHERNET\"?" +
                    help);
        refused("odd baud", {"--port", "COM1", "--baud", "4800", "test-cut"},
                "the baud rate must be 9600, 19200, 38400 or 115200, not \"4800\"" + help);
        QTest::newRow("not opened") << Case{ip + QStringList{"test-cut"}, -1, 1,
                                            "blackmark: Fail to open port,please check! "
                                            "scripted failure\n"};
        QTest::newRow("short write") << Case{ip + QStringList{"test-cut"}, 3, 1,
                                             "blackmark: The command did not reach the "
                                             "printer. scripted failure\n"};
        QTest::newRow("dry run") << Case{{"--dry-run", "--port", "LPT1", "mark-width", "300"},
                                         7,
                                         0,
                                         "1F 1B 1F 81 04 05 06 60 9\n"};
        QTest::newRow("printers") << Case{{"printers"}, 7, 0, "Kitchen\nLabels\n"};
    }
    void commandLine()
    {
        QFETCH(Case, c);
        RecordingPrinterSdk sdk;
        sdk.openResult = c.openOrWriteResult < 0 ? -1 : 7;
        sdk.writeResult = c.openOrWriteResult == 3 ? 3 : RecordingPrinterSdk::AnswerTheCount;
        QString out, err;
        const int code = run(sdk, c.arguments, out, err);
        QCOMPARE(code, c.exitCode);
        if (c.said.startsWith("POS_Open(")) { // sent: the open and the one document written
            const QStringList expected = c.said.split(u';');
            QCOMPARE(sdk.calls.value(0), expected[0]);
            QCOMPARE(sdk.written, QList<QByteArray>{QByteArray::fromHex(expected[1].toLatin1())});
            QCOMPARE(sdk.calls.size(), 5);
            QCOMPARE(err.replace(QRegularExpression("\\d+\\.\\d ms"), "T ms"), c.told);
        } else {
            QCOMPARE(code == 0 ? out : err, c.said);
            QCOMPARE(sdk.calls.isEmpty(), code != 1);
        }
    }

    void printersWithoutScheduler()
    {
        RecordingPrinterSdk sdk;
        QString out, err;
        const QString missing = QStringLiteral("/nonexistent/blackmark/cups.sock");
        QCOMPARE(run(sdk, {"printers"}, out, err, [&] { return PrinterQueues::list(missing); }), 1);
        QCOMPARE(err, "blackmark: the print scheduler at " + missing +
                          " cannot be reached; is it running?\n");
    }

    // An unprivileged user opens a device of a group it is not in: the reason names the group.
    void permissionNamesTheGroup_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("group");
        QTest::newRow("printer device") << "LPT"
                                        << "lp";
        QTest::newRow("serial line") << "COM"
                                     << "dialout";
    }
    void permissionNamesTheGroup()
    {
        QFETCH(QString, kind);
        QFETCH(QString, group);
        const struct group* owners = ::getgrnam(qPrintable(group));
        if (::geteuid() != 0 || !owners || QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("needs root, setpriv and the group");
        FakeDeviceTree tree;
        tree.node("/lp0");
        ::chmod(QFile::encodeName(tree.root.path()), 0711);
        PseudoTerminal line;
        const QByteArray path =
            kind == "LPT" ? QFile::encodeName(tree.path("/lp0")) : line.portText.mid(4);
        QCOMPARE(::chown(path, 0, owners->gr_gid) | ::chmod(path, 0660), 0);
        QProcess cli;
        cli.start("setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups", BLACKMARK_CLI,
                              "--port", kind + ' ' + path, "test-cut"});
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 1);
        QCOMPARE(QString::fromLocal8Bit(cli.readAllStandardError()),
                 QStringLiteral("blackmark: Fail to open port,please check! permission denied: %1 "
                                "belongs to group %2; add yourself with `sudo usermod -aG %2 "
                                "$USER` and log in again\n")
                     .arg(path, group));
    }

    // Each kind of device in a fake tree, one held open by this test.
    void portsOfAFakeTree()
    {
        FakeDeviceTree tree;
        for (const char* node : {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/lp0", "/dev/usb/lp1"})
            tree.node(node);
        tree.attribute("/sys/class/usbmisc/lp1/device/ieee1284_id", "MFG:Acme;MDL:T1;");
        tree.attribute("/sys/class/usbmisc/lp1/idVendor", "04b8");
        tree.attribute("/sys/class/usbmisc/lp1/idProduct", "0e15");
        const int holding =
            ::open(QFile::encodeName(tree.path("/dev/ttyUSB0")), O_RDONLY | O_NONBLOCK);
        qputenv("BLACKMARK_DEVICE_ROOT", QFile::encodeName(tree.root.path()));
        RecordingPrinterSdk sdk;
        QString out, err, json;
        QCOMPARE(run(sdk, {"ports"}, out, err), 0);
        QCOMPARE(run(sdk, {"--json", "ports"}, json, err), 0);
        qunsetenv("BLACKMARK_DEVICE_ROOT");
        ::close(holding);
        const QString root = tree.root.path();
        QCOMPARE(out,
                 QStringLiteral("COM1  serial line %1/dev/ttyS0\n"
                                "COM %1/dev/ttyUSB0  serial line, busy: pid %2 (tst_cli)\n"
                                "LPT1  parallel port %1/dev/lp0\n"
                                "LPT %1/dev/usb/lp1  USB printer, MFG:Acme;MDL:T1;, USB 04b8:0e15\n"
                                "DRIVER --driver Kitchen  printer queue, idle\n"
                                "DRIVER --driver Labels  printer queue, idle\n")
                     .arg(root)
                     .arg(QCoreApplication::applicationPid()));
        const QJsonArray ports = QJsonDocument::fromJson(json.toUtf8()).array();
        QCOMPARE(ports.size(), 6);
        QCOMPARE(ports[3].toObject().value("ieee1284Id").toString(), "MFG:Acme;MDL:T1;");
        QCOMPARE(ports[4].toObject().value("driver").toString(), "Kitchen");
        QCOMPARE(err, QString());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
