#include "CommandSender.h"
#include "PrinterSdk.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"

#include <QTest>

namespace
{

PortSettings port(const QString& portText)
{
    return {portText, QStringLiteral("10.20.30.40"), QStringLiteral("Receipt"),
            QStringLiteral("19200")};
}

} // namespace

class TestCommandSender : public QObject
{
    Q_OBJECT

private slots:
    void callSequencePerPort_data();
    void callSequencePerPort();
    void baudRateIsRead_data();
    void baudRateIsRead();
    void anyHandleButMinusOneIsOpen_data();
    void anyHandleButMinusOneIsOpen();
    void portNotOpened_data();
    void portNotOpened();
    void failedStartDocStillCompletes();
    void twoPressesOpenAndCloseTwice();
    void refusedTextOpensNothing();
    void failingWriteIsReportedToCaller();
};

void TestCommandSender::callSequencePerPort_data()
{
    QTest::addColumn<QString>("portText");
    QTest::addColumn<QString>("open");

    QTest::newRow("ETHERNET") << "ETHERNET"
                              << "POS_Open(10.20.30.40,0,0,0,0,21)";
    QTest::newRow("ETH alone") << "ETH"
                               << "POS_Open(10.20.30.40,0,0,0,0,21)";
    QTest::newRow("COM1") << "COM1"
                          << "POS_Open(COM1,19200,8,0,0,1)";
    QTest::newRow("typed COM12") << "COM12"
                                 << "POS_Open(COM12,19200,8,0,0,1)";
    QTest::newRow("COM with device") << "COM /dev/ttyUSB0"
                                     << "POS_Open(COM /dev/ttyUSB0,19200,8,0,0,1)";
    QTest::newRow("LPT2") << "LPT2"
                          << "POS_Open(LPT2,0,0,0,0,18)";
    QTest::newRow("typed LPT7") << "LPT7"
                                << "POS_Open(LPT7,0,0,0,0,18)";
    QTest::newRow("DRIVER") << "DRIVER"
                            << "POS_Open(Receipt,0,0,0,0,20)";
    QTest::newRow("DRI") << "DRI"
                         << "POS_Open(Receipt,0,0,0,0,20)";
    QTest::newRow("DRIVERS") << "DRIVERS"
                             << "POS_Open(Receipt,0,0,0,0,20)";
}

void TestCommandSender::callSequencePerPort()
{
    QFETCH(QString, portText);
    QFETCH(QString, open);
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender(sdk, messages, values);

    values.CommandText = QStringLiteral("1B 40 1D 56 30 0A");
    sender.SendHexCommand(values.CommandText, port(portText));

    const QStringList expected{open, "POS_StartDoc()", "POS_WriteFile(7,1B 40 1D 56 30 0A)",
                               "POS_EndDoc()", "POS_Close()"};
    QCOMPARE(sdk.calls, expected);
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(values.PortHandle, 7);
    QCOMPARE(values.LastResult, sdk.closeResult);
}

void TestCommandSender::baudRateIsRead_data()
{
    QTest::addColumn<QString>("baudText");
    for (const char* rate : {"9600", "19200", "38400", "115200"})
        QTest::newRow(rate) << rate;
}

void TestCommandSender::baudRateIsRead()
{
    QFETCH(QString, baudText);
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender(sdk, messages, values);

    PortSettings settings = port(QStringLiteral("COM3"));
    settings.baudRateText = baudText;
    QString text = QStringLiteral("0A");
    sender.SendHexCommand(text, settings);
    QCOMPARE(sdk.calls.first(), QStringLiteral("POS_Open(COM3,%1,8,0,0,1)").arg(baudText));
}

void TestCommandSender::anyHandleButMinusOneIsOpen_data()
{
    QTest::addColumn<qint32>("handle");
    QTest::newRow("0") << 0;
    QTest::newRow("-2") << -2;
    QTest::newRow("large") << 2147483647;
}

void TestCommandSender::anyHandleButMinusOneIsOpen()
{
    QFETCH(qint32, handle);
    RecordingPrinterSdk sdk;
    sdk.openResult = handle;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender(sdk, messages, values);

    QString text = QStringLiteral("1B 40");
    sender.SendHexCommand(text, port(QStringLiteral("ETHERNET")));
    QCOMPARE(sdk.calls.size(), 5);
    QCOMPARE(sdk.calls.at(2), QStringLiteral("POS_WriteFile(%1,1B 40)").arg(handle));
    QVERIFY(messages.shown.isEmpty());
}

void TestCommandSender::portNotOpened_data()
{
    QTest::addColumn<QString>("portText");
    QTest::addColumn<int>("sdkCalls");
    QTest::addColumn<QString>("detail");

    QTest::newRow("SDK gives -1") << "ETHERNET" << 1 << "scripted failure";
    // Without a kind there is no port to open, so the SDK is not called at all.
    const QString noKind = QStringLiteral("The port \"%1\" is none that this tool knows: it must "
                                          "begin with ETH, COM, LPT or DRI.");
    QTest::newRow("lower case com1") << "com1" << 0 << noKind.arg("com1");
    QTest::newRow("blank before COM1") << " COM1" << 0 << noKind.arg(" COM1");
    QTest::newRow("empty") << "" << 0 << noKind.arg("");
    QTest::newRow("two letters") << "CO" << 0 << noKind.arg("CO");
}

void TestCommandSender::portNotOpened()
{
    QFETCH(QString, portText);
    QFETCH(int, sdkCalls);
    QFETCH(QString, detail);
    RecordingPrinterSdk sdk;
    sdk.openResult = -1;
    RecordingUserMessages messages;
    WindowValues values;
    values.DocFlag = true;
    values.LastResult = 42;
    CommandSender sender(sdk, messages, values);

    QString text = QStringLiteral("1B 40");
    const SendOutcome outcome = sender.SendHexCommand(text, port(portText));

    QCOMPARE(sdk.calls.size(), sdkCalls);
    const UserMessage expected{"Fail to open port,please check!", "error", UserMessage::Icon::Error,
                               detail};
    QCOMPARE(messages.shown, QList<UserMessage>{expected});
    QCOMPARE(values.PortHandle, -1);
    QCOMPARE(values.DocFlag, true);
    QCOMPARE(values.LastResult, 42);
    QCOMPARE(outcome.result, SendOutcome::Result::PortNotOpened);
}

void TestCommandSender::failedStartDocStillCompletes()
{
    RecordingPrinterSdk sdk;
    sdk.startDocResult = 0;
    sdk.endDocResult = 0;
    RecordingUserMessages messages;
    WindowValues values;
    values.DocFlag = true;
    CommandSender sender(sdk, messages, values);

    QString text = QStringLiteral("1B");
    sender.SendHexCommand(text, port(QStringLiteral("LPT1")));
    QCOMPARE(sdk.calls.size(), 5);
    QCOMPARE(values.DocFlag, false);
    QVERIFY(messages.shown.isEmpty());
}

void TestCommandSender::twoPressesOpenAndCloseTwice()
{
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender(sdk, messages, values);

    QString text = QStringLiteral("1B");
    sender.SendHexCommand(text, port(QStringLiteral("COM1")));
    sender.SendHexCommand(text, port(QStringLiteral("LPT1")));
    QCOMPARE(sdk.calls.filter("POS_Open").size(), 2);
    QCOMPARE(sdk.calls.filter("POS_Close").size(), 2);
    QCOMPARE(sdk.calls.at(4), QStringLiteral("POS_Close()"));
    QCOMPARE(sdk.calls.at(5), QStringLiteral("POS_Open(LPT1,0,0,0,0,18)"));
}

void TestCommandSender::refusedTextOpensNothing()
{
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender(sdk, messages, values);

    QString text = QStringLiteral(" 1B 100 ");
    const SendOutcome outcome = sender.SendHexCommand(text, port(QStringLiteral("ETHERNET")));
    QVERIFY(sdk.calls.isEmpty());
    QCOMPARE(text, QStringLiteral("1B 100"));
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown.first().detail, QStringLiteral("token 2 \"100\" is above FF"));
    QCOMPARE(outcome.result, SendOutcome::Result::Refused);
}

void TestCommandSender::failingWriteIsReportedToCaller()
{
    RecordingPrinterSdk sdk;
    sdk.writeResult = -1;
    sdk.failure = QStringLiteral("write: Broken pipe");
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender(sdk, messages, values);

    QString text = QStringLiteral("1B 40");
    const SendOutcome outcome = sender.SendHexCommand(text, port(QStringLiteral("ETHERNET")));
    QCOMPARE(sdk.calls.size(), 5); // the document is still ended and the port closed
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(outcome.result, SendOutcome::Result::DocumentFailed);
    QCOMPARE(outcome.reason, QStringLiteral("write: Broken pipe"));
}

QTEST_APPLESS_MAIN(TestCommandSender)
#include "tst_commandsender.moc"
