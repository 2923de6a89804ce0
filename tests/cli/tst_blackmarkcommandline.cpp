#include "BlackmarkCommandLine.h"
#include "RecordingPrinterSdk.h"

#include <QTest>

namespace
{

struct Run {
    int exitCode;
    QString out, err;
    QStringList calls;
};

Run run(const QStringList& arguments, qint32 openResult = 7, qint32 writeResult = -2)
{
    RecordingPrinterSdk sdk;
    sdk.openResult = openResult;
    sdk.writeResult = writeResult;
    sdk.failure = QStringLiteral("scripted failure");
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    BlackmarkCommandLine commandLine(
        sdk,
        [] {
            return QStringList{"Kitchen", "Labels"};
        },
        outStream, errStream);
    const int code = commandLine.run(QStringList{"blackmark"} + arguments);
    outStream.flush();
    errStream.flush();
    return {code, out, err, sdk.calls};
}

} // namespace

class TestBlackmarkCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void sends_data();
    void sends();
    void refuses_data();
    void refuses();
    void portFailures_data();
    void portFailures();
    void dryRunSendsNothing();
    void listsPrinters();
};

void TestBlackmarkCommandLine::sends_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("bytes");

    const QString net = QStringLiteral("POS_Open(127.0.0.1:9100,0,0,0,0,21)");
    const QStringList ip{"--ip", "127.0.0.1:9100"};
    QTest::newRow("mark-width") << ip + QStringList{"mark-width", "300"} << net
                                << "1F 1B 1F 81 04 05 06 60 09";
    QTest::newRow("paper-width") << ip + QStringList{"paper-width", "10"} << net
                                 << "1F 1B 1F 82 04 05 06 50 00";
    QTest::newRow("print-start feed")
        << ip + QStringList{"print-start", "feed", "12.5"} << net << "1D 28 46 04 00 01 00 64 00";
    QTest::newRow("print-start backfeed")
        << ip + QStringList{"print-start", "backfeed", "1"} << net << "1D 28 46 04 00 01 01 08 00";
    QTest::newRow("cut-position feed")
        << ip + QStringList{"cut-position", "feed", "32"} << net << "1D 28 46 04 00 02 00 00 01";
    QTest::newRow("cut-position backfeed")
        << ip + QStringList{"cut-position", "backfeed", "0"} << net << "1D 28 46 04 00 02 01 00 00";
    QTest::newRow("black-mark on")
        << ip + QStringList{"black-mark", "on"} << net << "1F 1B 1F 80 04 05 06 44";
    QTest::newRow("black-mark off")
        << ip + QStringList{"black-mark", "off"} << net << "1F 1B 1F 80 04 05 06 66";
    QTest::newRow("test-cut") << ip + QStringList{"test-cut"} << net << "1B 40 1D 56 30 0A";
    QTest::newRow("send") << ip + QStringList{"send", " 1b 40 "} << net << "1B 40";
    QTest::newRow("serial") << QStringList{"--port", "COM3", "--baud", "9600", "test-cut"}
                            << "POS_Open(COM3,9600,8,0,0,1)"
                            << "1B 40 1D 56 30 0A";
    QTest::newRow("serial device") << QStringList{"--port", "COM /dev/ttyUSB0", "test-cut"}
                                   << "POS_Open(COM /dev/ttyUSB0,19200,8,0,0,1)"
                                   << "1B 40 1D 56 30 0A";
    QTest::newRow("parallel") << QStringList{"--port", "LPT2", "test-cut"}
                              << "POS_Open(LPT2,0,0,0,0,18)"
                              << "1B 40 1D 56 30 0A";
    QTest::newRow("first printer")
        << QStringList{"--port", "DRIVER", "test-cut"} << "POS_Open(Kitchen,0,0,0,0,20)"
        << "1B 40 1D 56 30 0A";
    QTest::newRow("named printer")
        << QStringList{"--port", "DRIVER", "--driver", "Labels", "test-cut"}
        << "POS_Open(Labels,0,0,0,0,20)"
        << "1B 40 1D 56 30 0A";
}

void TestBlackmarkCommandLine::sends()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, open);
    QFETCH(QString, bytes);
    const Run r = run(arguments);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.calls, (QStringList{open, "POS_StartDoc()", "POS_WriteFile(7," + bytes + ")",
                                   "POS_EndDoc()", "POS_Close()"}));
}

void TestBlackmarkCommandLine::refuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");

    const QString more = QStringLiteral("\n(see blackmark --help)\n");
    QTest::newRow("nothing") << QStringList{} << "blackmark: no subcommand given" + more;
    QTest::newRow("unknown") << QStringList{"feed"}
                             << "blackmark: unknown subcommand \"feed\"" + more;
    QTest::newRow("missing distance")
        << QStringList{"mark-width"} << "blackmark: mark-width takes one distance in mm" + more;
    QTest::newRow("bad direction")
        << QStringList{"cut-position", "up", "3"}
        << "blackmark: cut-position takes feed or backfeed, not \"up\"" + more;
    QTest::newRow("negative distance")
        << QStringList{"print-start", "backfeed", "-1"}
        << "blackmark: Backfeed paper after black mark is found: the distance \"-1\" cannot be "
           "sent.\nEnter a distance from 0 to 4095.875 mm; the button chooses the direction.\n";
    QTest::newRow("too large") << QStringList{"mark-width", "1e400"}
                               << "blackmark: Set black mark's max width: the distance \"1e400\" "
                                  "cannot be sent.\nEnter a distance from 0 to 4095.875 mm; the "
                                  "button chooses the direction.\n";
    QTest::newRow("bad hex") << QStringList{"send", "1B  40"}
                             << "blackmark: This is not a printer command; nothing was sent. "
                                "empty token after token 1\n";
    QTest::newRow("port without kind") << QStringList{"--port", "com1", "test-cut"}
                                       << "blackmark: \"com1\" is no port: it must begin with "
                                          "ETH, COM, LPT or DRI" +
                                              more;
    QTest::newRow("odd baud") << QStringList{"--port", "COM1", "--baud", "4800", "test-cut"}
                              << "blackmark: the baud rate must be 9600, 19200, 38400 or 115200, "
                                 "not \"4800\"" +
                                     more;
    QTest::newRow("unknown option")
        << QStringList{"--colour", "test-cut"} << "blackmark: Unknown option 'colour'." + more;
}

void TestBlackmarkCommandLine::refuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);
    const Run r = run(arguments);
    QCOMPARE(r.err, err);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.calls.isEmpty());
}

void TestBlackmarkCommandLine::portFailures_data()
{
    QTest::addColumn<qint32>("openResult");
    QTest::addColumn<qint32>("writeResult");
    QTest::addColumn<QString>("err");
    QTest::newRow("not opened") << -1 << -2
                                << "blackmark: Fail to open port,please check! scripted failure\n";
    QTest::newRow("write failed") << 7 << -1
                                  << "blackmark: the document did not reach the printer: "
                                     "scripted failure\n";
    QTest::newRow("short write") << 7 << 3
                                 << "blackmark: the document did not reach the printer: "
                                    "scripted failure\n";
}

void TestBlackmarkCommandLine::portFailures()
{
    QFETCH(qint32, openResult);
    QFETCH(qint32, writeResult);
    QFETCH(QString, err);
    const Run r = run({"--ip", "127.0.0.1:9", "test-cut"}, openResult, writeResult);
    QCOMPARE(r.err, err);
    QCOMPARE(r.exitCode, 1);
}

void TestBlackmarkCommandLine::dryRunSendsNothing()
{
    const Run r = run({"--dry-run", "--port", "LPT1", "mark-width", "300"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("1F 1B 1F 81 04 05 06 60 9\n"));
    QVERIFY(r.calls.isEmpty());
}

void TestBlackmarkCommandLine::listsPrinters()
{
    const Run r = run({"printers"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("Kitchen\nLabels\n"));
}

QTEST_GUILESS_MAIN(TestBlackmarkCommandLine)
#include "tst_blackmarkcommandline.moc"
