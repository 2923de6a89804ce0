#include "PrinterSdk.h"
#include "SystemPrinterSdk.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <pty.h>
#include <sys/socket.h>
#include <unistd.h>

// The paths users meet on bad days: each fault gives a failing result and a reason, never a
// hang or a crash, and the next document goes through again.
namespace
{

const QByteArray Large(8 * 1024 * 1024, 'x');

// Opens, writes and closes; returns the first failure, or an empty text.
QString sendDocument(PrinterSdk& sdk, const QByteArray& name, qint32 mode, const QByteArray& bytes)
{
    const qint32 handle = sdk.POS_Open(name, 115200, 8, 0, 0, mode);
    if (handle == -1)
        return "open: " + sdk.lastFailure();
    QString failure;
    if (sdk.POS_StartDoc() < 0)
        failure = sdk.lastFailure();
    if (sdk.POS_WriteFile(handle, bytes.constData(), qint32(bytes.size())) != bytes.size() &&
        failure.isEmpty())
        failure = sdk.lastFailure();
    if (sdk.POS_EndDoc() < 0 && failure.isEmpty())
        failure = sdk.lastFailure();
    if (sdk.POS_Close() < 0 && failure.isEmpty())
        failure = sdk.lastFailure();
    return failure;
}

// A private cupsd of the test's own, so that stopping it troubles no other test.
class OwnCupsd
{
public:
    OwnCupsd(const QString& dir, quint16 port)
    {
        process_.start(QStringLiteral("bash"), {QStringLiteral(PRIVATE_CUPSD), "run", dir,
                                                "fault-queue", QString::number(port)});
        ready_ = process_.waitForReadyRead(20000) && process_.readLine().trimmed() == "ready";
    }
    ~OwnCupsd() { stop(); }
    bool ready() const { return ready_; }
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        process_.waitForFinished(20000);
    }

private:
    QProcess process_;
    bool ready_ = false;
};

} // namespace

class TestPortFaults : public QObject
{
    Q_OBJECT

private slots:
    void peerResetsMidDocument();
    void serialLineGoesAway();
    void cupsdStopsBetweenOpenAndWrite();
};

void TestPortFaults::peerResetsMidDocument()
{
    QTcpServer printer;
    QVERIFY(printer.listen(QHostAddress::LocalHost));
    const QByteArray address = "127.0.0.1:" + QByteArray::number(printer.serverPort());
    SystemPrinterSdk sdk;
    const qint32 handle = sdk.POS_Open(address, 0, 0, 0, 0, OpenMode::Network);
    QVERIFY(handle > 0);
    QVERIFY(printer.waitForNewConnection(5000));
    QTcpSocket* peer = printer.nextPendingConnection();
    const linger resetOnClose{1, 0};
    ::setsockopt(int(peer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &resetOnClose,
                 sizeof resetOnClose);
    delete peer;

    QCOMPARE(sdk.POS_WriteFile(handle, Large.constData(), qint32(Large.size())), -1);
    QVERIFY2(sdk.lastFailure().startsWith("write to " + address + ": "),
             qPrintable(sdk.lastFailure()));
    sdk.POS_EndDoc();
    sdk.POS_Close();

    QCOMPARE(sendDocument(sdk, address, OpenMode::Network, "next"), QString());
}

void TestPortFaults::serialLineGoesAway()
{
    int master = -1, slave = -1;
    char name[256] = {};
    QCOMPARE(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    SystemPrinterSdk sdk;
    const qint32 handle = sdk.POS_Open(QByteArray("COM ") + name, 9600, 8, 0, 0, OpenMode::Serial);
    QVERIFY2(handle > 0, qPrintable(sdk.lastFailure()));
    ::close(master); // the other end goes away
    ::close(slave);

    QCOMPARE(sdk.POS_WriteFile(handle, Large.constData(), qint32(Large.size())), -1);
    QVERIFY2(sdk.lastFailure().startsWith(QStringLiteral("write to %1: ").arg(name)),
             qPrintable(sdk.lastFailure()));
    sdk.POS_Close();

    QCOMPARE(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    QCOMPARE(sendDocument(sdk, QByteArray("COM ") + name, OpenMode::Serial, "next"), QString());
    char received[8] = {};
    QCOMPARE(::read(master, received, sizeof received), 4);
    ::close(master);
    ::close(slave);
}

void TestPortFaults::cupsdStopsBetweenOpenAndWrite()
{
    if (!QFile::exists(QStringLiteral("/usr/sbin/cupsd")) || ::geteuid() != 0)
        QSKIP("needs cupsd, run as root as scripts/test does");
    QTemporaryDir dir;
    // cupsd's backends run as another user and must reach the spool below it.
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ReadOther |
                                          QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    QTcpServer printer;
    QVERIFY(printer.listen(QHostAddress::LocalHost));
    const QString spool = dir.filePath("cups");
    qputenv("CUPS_SERVER", QFile::encodeName(spool + "/cups.sock"));
    auto cupsd = std::make_unique<OwnCupsd>(spool, printer.serverPort());
    QVERIFY(cupsd->ready());

    SystemPrinterSdk sdk;
    const qint32 handle = sdk.POS_Open("fault-queue", 0, 0, 0, 0, OpenMode::PrinterQueue);
    QVERIFY2(handle > 0, qPrintable(sdk.lastFailure()));
    cupsd->stop();
    const bool started = sdk.POS_StartDoc() > 0;
    const bool written = sdk.POS_WriteFile(handle, "lost", 4) == 4;
    const bool ended = sdk.POS_EndDoc() > 0;
    QVERIFY(!(started && written && ended));
    QVERIFY2(sdk.lastFailure().contains("printer queue \"fault-queue\""),
             qPrintable(sdk.lastFailure()));
    sdk.POS_Close();

    cupsd = std::make_unique<OwnCupsd>(spool, printer.serverPort());
    QVERIFY(cupsd->ready());
    QCOMPARE(sendDocument(sdk, "fault-queue", OpenMode::PrinterQueue, "next"), QString());
    QVERIFY(printer.waitForNewConnection(30000));
    QTcpSocket* backend = printer.nextPendingConnection();
    QByteArray received;
    while (received.size() < 4 && backend->waitForReadyRead(10000))
        received += backend->readAll();
    QCOMPARE(received, QByteArray("next"));
}

QTEST_GUILESS_MAIN(TestPortFaults)
#include "tst_portfaults.moc"
