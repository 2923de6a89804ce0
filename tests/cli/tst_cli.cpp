#include "BlackmarkCommandLine.h"
#include "RecordingPrinterSdk.h"

#include <QRegularExpression>
#include <QTest>

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
             "blackmark: T s opened: 127.0.0.1:9100\nblackmark: T s wrote 8 bytes\n"
             "blackmark: T s closed\nblackmark: T s confirmed: the printer's side took all 8 "
             "bytes\n");
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
                "\"com1\" is no port: it must begin with ETH, COM, LPT or DRI" + help);
        refused("odd baud", {"--port", "COM1", "--baud", "4800", "test-cut"},
                "the baud rate must be 9600, 19200, 38400 or 115200, not \"4800\"" + help);
        QTest::newRow("not opened") << Case{ip + QStringList{"test-cut"}, -1, 1,
                                            "blackmark: Fail to open port,please check! "
                                            "scripted failure\n"};
        QTest::newRow("short write") << Case{ip + QStringList{"test-cut"}, 3, 1,
                                             "blackmark: the document did not reach the printer: "
                                             "scripted failure\n"};
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
        QTextStream outStream(&out), errStream(&err);
        BlackmarkCommandLine commandLine(
            sdk,
            [] {
                QueueListing listing;
                listing.queues.resize(2);
                listing.queues[0].name = "Kitchen";
                listing.queues[1].name = "Labels";
                return listing;
            },
            outStream, errStream);
        const int code = commandLine.run(QStringList{"blackmark"} + c.arguments);
        outStream.flush();
        errStream.flush();
        QCOMPARE(code, c.exitCode);
        if (c.said.startsWith("POS_Open(")) { // sent: the open and the one document written
            const QStringList expected = c.said.split(u';');
            QCOMPARE(sdk.calls.value(0), expected[0]);
            QCOMPARE(sdk.written, QList<QByteArray>{QByteArray::fromHex(expected[1].toLatin1())});
            QCOMPARE(sdk.calls.size(), 5);
            QCOMPARE(err.replace(QRegularExpression("\\d+\\.\\d{3} s"), "T s"), c.told);
        } else {
            QCOMPARE(code == 0 ? out : err, c.said);
            QCOMPARE(sdk.calls.isEmpty(), code != 1);
        }
    }

    void printersWithoutScheduler()
    {
        RecordingPrinterSdk sdk;
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const QString missing = QStringLiteral("/nonexistent/blackmark/cups.sock");
        BlackmarkCommandLine commandLine(
            sdk, [&] { return PrinterQueues::list(missing); }, outStream, errStream);
        QCOMPARE(commandLine.run({"blackmark", "printers"}), 1);
        QVERIFY2(
            err.startsWith("blackmark: the print scheduler at " + missing + " cannot be reached ("),
            qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
