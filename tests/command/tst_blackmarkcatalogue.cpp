#include "BlackMarkCatalogue.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"

#include <QTest>
#include <functional>

namespace
{

const PortSettings network{"ETHERNET", "127.0.0.1", "", "19200"};

using Press = std::function<SendOutcome(BlackMarkCatalogue&)>;

struct Bench {
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender{sdk, messages, values};
    BlackMarkCatalogue catalogue{sender};
};

} // namespace

Q_DECLARE_METATYPE(Press)

class TestBlackMarkCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void buttonSendsItsBytes_data();
    void buttonSendsItsBytes();
    void changedBoxIsReadAtEachPress();
    void refusedDistanceSendsNothing_data();
    void refusedDistanceSendsNothing();
};

void TestBlackMarkCatalogue::buttonSendsItsBytes_data()
{
    QTest::addColumn<Press>("press");
    QTest::addColumn<QString>("commandText");

    using C = BlackMarkCatalogue;
    QTest::newRow("Command1 at 300") << Press([](C& c) { return c.Command1_Click("300", network); })
                                     << "1F 1B 1F 81 04 05 06 60 9";
    QTest::newRow("Command2 at 10") << Press([](C& c) { return c.Command2_Click("10", network); })
                                    << "1F 1B 1F 82 04 05 06 50 0";
    QTest::newRow("Command3 at 0")
        << Press([](C& c) { return c.Command3_Click("0", network); }) << "1D 28 46 04 00 01 00 0 0";
    QTest::newRow("Command4 at 0")
        << Press([](C& c) { return c.Command4_Click("0", network); }) << "1D 28 46 04 00 01 01 0 0";
    QTest::newRow("Command6 at 0")
        << Press([](C& c) { return c.Command6_Click("0", network); }) << "1D 28 46 04 00 02 00 0 0";
    QTest::newRow("Command7 at 0")
        << Press([](C& c) { return c.Command7_Click("0", network); }) << "1D 28 46 04 00 02 01 0 0";
    QTest::newRow("Command7 at 4095.875")
        << Press([](C& c) { return c.Command7_Click("4095.875", network); })
        << "1D 28 46 04 00 02 01 FF 7F";
    QTest::newRow("Command5 off") << Press([](C& c) { return c.Command5_Click(0, network); })
                                  << "1F 1B 1F 80 04 05 06 66";
    QTest::newRow("Command5 on") << Press([](C& c) { return c.Command5_Click(1, network); })
                                 << "1F 1B 1F 80 04 05 06 44";
    QTest::newRow("Command8") << Press([](C& c) { return c.Command8_Click(network); })
                              << "1B 40 1D 0C 2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F "
                                 "53 49 54 49 4F 4E 2A 2A 2A 2A 0A";
    QTest::newRow("Command9") << Press([](C& c) { return c.Command9_Click(network); })
                              << "1B 40 1D 56 30 0A";
}

void TestBlackMarkCatalogue::buttonSendsItsBytes()
{
    QFETCH(Press, press);
    QFETCH(QString, commandText);
    Bench bench;

    QCOMPARE(press(bench.catalogue).result, SendOutcome::Result::Sent);
    QCOMPARE(bench.values.CommandText, commandText);
    QCOMPARE(bench.sdk.written.size(), 1);
    QCOMPARE(bench.sdk.written.first(),
             QByteArray::fromHex(commandText.split(u' ')
                                     .replaceInStrings(QRegularExpression("^(.)$"), "0\\1")
                                     .join("")
                                     .toLatin1()));
    QVERIFY(bench.messages.shown.isEmpty());
}

void TestBlackMarkCatalogue::changedBoxIsReadAtEachPress()
{
    Bench bench;
    bench.catalogue.Command1_Click("300", network);
    bench.catalogue.Command1_Click("32", network);
    bench.catalogue.Command2_Click("10", network);
    QCOMPARE(bench.sdk.written.size(), 3);
    QCOMPARE(bench.sdk.written.at(0), QByteArray::fromHex("1F1B1F810405066009"));
    QCOMPARE(bench.sdk.written.at(1), QByteArray::fromHex("1F1B1F810405060001"));
    QCOMPARE(bench.sdk.written.at(2), QByteArray::fromHex("1F1B1F820405065000"));
}

void TestBlackMarkCatalogue::refusedDistanceSendsNothing_data()
{
    QTest::addColumn<Press>("press");
    QTest::addColumn<QString>("message");

    using C = BlackMarkCatalogue;
    const QString why = QStringLiteral("%1: the distance \"%2\" cannot be sent.\nEnter a distance "
                                       "from 0 to 4095.875 mm; the button chooses the direction.");
    QTest::newRow("negative backfeed")
        << Press([](C& c) { return c.Command4_Click("-1", network); })
        << why.arg("Backfeed paper after black mark is found", "-1");
    QTest::newRow("too wide") << Press([](C& c) { return c.Command1_Click("4095.9375", network); })
                              << why.arg("Set black mark's max width", "4095.9375");
    QTest::newRow("too large to hold")
        << Press([](C& c) { return c.Command6_Click("1e400", network); })
        << why.arg("Cut position after black mark is found  Feed", "1e400");
}

void TestBlackMarkCatalogue::refusedDistanceSendsNothing()
{
    QFETCH(Press, press);
    QFETCH(QString, message);
    Bench bench;
    bench.values.CommandText = QStringLiteral("earlier");

    QCOMPARE(press(bench.catalogue).result, SendOutcome::Result::Refused);
    QVERIFY(bench.sdk.calls.isEmpty());
    QCOMPARE(bench.messages.shown.size(), 1);
    QCOMPARE(bench.messages.shown.first().text, message);
    QCOMPARE(bench.messages.shown.first().icon, UserMessage::Icon::Warning);
    QCOMPARE(bench.values.CommandText, QStringLiteral("earlier"));
}

QTEST_APPLESS_MAIN(TestBlackMarkCatalogue)
#include "tst_blackmarkcatalogue.moc"
