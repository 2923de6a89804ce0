#include "BlackmarkCommandLine.h"
#include "FakeDeviceTree.h"
#include "PrinterQueues.h"
#include "PseudoTerminal.h"
#include "RecordingPrinterSdk.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <fcntl.h>
#include <grp.h>
#include <sstream>
#include <unistd.h>

namespace
{

QueueListing kitchenAndLabels()
{
    QueueListing listing;
    listing.queues.resize(2);
    listing.queues[0].name = "Kitchen";
    listing.queues[1].name = "Labels";
    return listing;
}

// Runs the command line on the arguments; out and err get what it printed.
int run(PrinterSdk& sdk, const std::vector<std::string>& arguments, QString& out, QString& err,
        const BlackmarkCommandLine::QueueSource& queues = kitchenAndLabels)
{
    std::ostringstream outStream, errStream;
    BlackmarkCommandLine commandLine(sdk, queues, outStream, errStream);
    std::vector<std::string> all{"blackmark"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    const int code = commandLine.run(all);
    out = QString::fromStdString(outStream.str());
    err = QString::fromStdString(errStream.str());
    return code;
}

} // namespace

// What the command line finds on this machine, and how it fails as another user; the rest of
// its words are tested in the core's runner.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void printersWithoutScheduler()
    {
        RecordingPrinterSdk sdk;
        QString out, err;
        const std::string missing = "/nonexistent/blackmark/cups.sock";
        QCOMPARE(run(sdk, {"printers"}, out, err, [&] { return PrinterQueues::list(missing); }), 1);
        QCOMPARE(err, "blackmark: the print scheduler at " + QString::fromStdString(missing) +
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
        const QByteArray path = kind == "LPT" ? QFile::encodeName(tree.path("/lp0"))
                                              : QByteArray::fromStdString(line.path());
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
        QString out, err, json, sameJson, note;
        QCOMPARE(run(sdk, {"ports"}, out, err), 0);
        QCOMPARE(run(sdk, {"--json", "ports"}, json, err), 0);
        QCOMPARE(run(sdk, {"ports", "--json"}, sameJson, note,
                     [] {
                         return QueueListing{{}, "no scheduler"};
                     }),
                 0);
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
        QCOMPARE(note, "blackmark: no printer queues listed: no scheduler\n");
        QCOMPARE(QJsonDocument::fromJson(sameJson.toUtf8()).array().size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
