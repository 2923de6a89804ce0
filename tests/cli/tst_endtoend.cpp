#include "FrmTest.h"
#include "SystemPrinterSdk.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>
#include <csignal>

// The virtual printer, the command line and the window, as separate pieces talking over
// loopback and a pseudo-terminal.
namespace
{

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

class VirtualPrinter
{
public:
    explicit VirtualPrinter(const QStringList& arguments)
    {
        process_.setProgram(QStringLiteral(BLACKMARK_PRINTER));
        process_.setArguments(arguments);
        process_.start();
    }
    ~VirtualPrinter()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // Waits for a line of output that matches; returns its first captured part.
    QString waitFor(const QString& pattern, int boundMs = 10000)
    {
        const QRegularExpression expression(pattern);
        QDeadlineTimer deadline(boundMs);
        while (!deadline.hasExpired()) {
            output_ += process_.readAllStandardOutput();
            const QRegularExpressionMatch match = expression.match(QString::fromUtf8(output_));
            if (match.hasMatch())
                return match.captured(1);
            process_.waitForReadyRead(100);
        }
        return {};
    }

    QString output() { return QString::fromUtf8(output_ += process_.readAllStandardOutput()); }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    QByteArray output_;
};

int runBlackmark(const QStringList& arguments, QString* err = nullptr)
{
    QProcess blackmark;
    blackmark.start(QStringLiteral(BLACKMARK_CLI), arguments);
    if (!blackmark.waitForFinished(20000))
        return -1;
    if (err)
        *err = QString::fromUtf8(blackmark.readAllStandardError());
    return blackmark.exitCode();
}

struct Subcommand {
    QStringList words;
    const char* hexLine; // how the printer shows the window's button's bytes
};

const Subcommand Subcommands[] = {
    {{"mark-width", "300"}, "1F 1B 1F 81 04 05 06 60 09  black mark max width 300 mm"},
    {{"paper-width", "10"}, "1F 1B 1F 82 04 05 06 50 00  black mark paper max width 10 mm"},
    {{"print-start", "feed", "0"}, "1D 28 46 04 00 01 00 00 00  GS ( F: print start feed 0 mm"},
    {{"print-start", "backfeed", "0"},
     "1D 28 46 04 00 01 01 00 00  GS ( F: print start backfeed 0 mm"},
    {{"cut-position", "feed", "0"}, "1D 28 46 04 00 02 00 00 00  GS ( F: cut position feed 0 mm"},
    {{"cut-position", "backfeed", "0"},
     "1D 28 46 04 00 02 01 00 00  GS ( F: cut position backfeed 0 mm"},
    {{"black-mark", "off"}, "1F 1B 1F 80 04 05 06 66  black mark function off"},
    {{"test-print"},
     "2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A 2A "
     "2A 2A  text \"****TEST START POSITION****\""},
    {{"test-cut"}, "1D 56 30  GS V: full cut"},
};

const char* const SettingsAfterAll =
    "settings: mark max width 300 mm, paper max width 10 mm, black mark function off, print "
    "start backfeed 0 mm, cut position backfeed 0 mm";

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void commandLineOverNetwork();
    void windowOverNetwork();
    void commandLineOverSerialLine();
    void unreachablePrinter();
};

void TestEndToEnd::commandLineOverNetwork()
{
    const quint16 port = freeLoopbackPort();
    const QString address = QStringLiteral("127.0.0.1:%1").arg(port);
    VirtualPrinter printer({"--listen", address});
    QVERIFY(!printer.waitFor("listening on (\\S+)").isEmpty());

    int document = 0;
    for (const Subcommand& subcommand : Subcommands) {
        QCOMPARE(runBlackmark(QStringList{"--ip", address} + subcommand.words), 0);
        ++document;
        QVERIFY2(!printer
                      .waitFor(QStringLiteral("document %1 from[^\\n]*\\n(?:  [^\\n]*\\n)*?  (%2)")
                                   .arg(document)
                                   .arg(QRegularExpression::escape(subcommand.hexLine)))
                      .isEmpty(),
                 qPrintable(printer.output()));
    }
    QVERIFY(!printer.waitFor(QRegularExpression::escape(SettingsAfterAll).prepend('(') + ')')
                 .isEmpty());

    // Ctrl-C ends it cleanly.
    ::kill(pid_t(printer.process().processId()), SIGINT);
    QVERIFY(printer.process().waitForFinished(5000));
    QCOMPARE(printer.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(printer.process().exitCode(), 0);
}

void TestEndToEnd::windowOverNetwork()
{
    const quint16 port = freeLoopbackPort();
    VirtualPrinter printer({"--listen", QStringLiteral("127.0.0.1:%1").arg(port)});
    QVERIFY(!printer.waitFor("listening on (\\S+)").isEmpty());

    SystemPrinterSdk sdk;
    FrmTest window(sdk, [] { return QStringList(); });
    window.Text1->setText(QStringLiteral("127.0.0.1:%1").arg(port)); // before any press
    const QList<QPushButton*> buttons{window.Command1, window.Command2, window.Command3,
                                      window.Command4, window.Command6, window.Command7,
                                      window.Command5, window.Command8, window.Command9};
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        QTest::mouseClick(buttons[i], Qt::LeftButton);
        QVERIFY2(!printer.waitFor(QStringLiteral("(document %1 from)").arg(i + 1)).isEmpty(),
                 qPrintable(printer.output()));
    }
    QVERIFY(!printer.waitFor(QRegularExpression::escape(SettingsAfterAll).prepend('(') + ')')
                 .isEmpty());
    for (const Subcommand& subcommand : Subcommands)
        QVERIFY2(printer.output().contains(QLatin1String(subcommand.hexLine)), subcommand.hexLine);
}

void TestEndToEnd::commandLineOverSerialLine()
{
    VirtualPrinter printer({"--pty", "--once"});
    const QString line = printer.waitFor("serial line on (\\S+)");
    QVERIFY(!line.isEmpty());
    QCOMPARE(runBlackmark({"--port", "COM " + line, "--baud", "115200", "black-mark", "on"}), 0);
    QVERIFY(printer.process().waitForFinished(10000));
    QVERIFY(printer.output().contains("1F 1B 1F 80 04 05 06 44  black mark function on"));
    QVERIFY(printer.output().contains("black mark function on, print start not set"));
}

void TestEndToEnd::unreachablePrinter()
{
    QString err;
    const QString address = QStringLiteral("127.0.0.1:%1").arg(freeLoopbackPort());
    QCOMPARE(runBlackmark({"--ip", address, "test-cut"}, &err), 1);
    QCOMPARE(err, QStringLiteral("blackmark: Fail to open port,please check! connect to %1: "
                                 "Connection refused\n")
                      .arg(address));
    QCOMPARE(runBlackmark({"--port", "LPT /nonexistent/lp0", "test-cut"}, &err), 1);
    QVERIFY2(err.endsWith("/nonexistent/lp0: No such file or directory\n"), qPrintable(err));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
