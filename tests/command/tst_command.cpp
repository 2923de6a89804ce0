#include "BlackMarkCatalogue.h"
#include "DistanceCount.h"
#include "HexCommandText.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"

#include <QTest>
#include <clocale>
#include <functional>

namespace
{

const PortSettings Network{"ETHERNET", "127.0.0.1", "Receipt", "19200"};

struct Bench {
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender{sdk, messages, values};
    BlackMarkCatalogue catalogue{sender};
};

using Press = std::function<SendOutcome(BlackMarkCatalogue&)>;

} // namespace

Q_DECLARE_METATYPE(Press)

// The hex command text, the distance rule, the bytes of every button, and the send.
class TestCommand : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { std::setlocale(LC_ALL, "C"); }

    void hexText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* text, const char* trimmed, const char* hex,
                            const char* why = "") {
            QTest::newRow(text) << QString::fromUtf8(text) << QString::fromUtf8(trimmed)
                                << QByteArray::fromHex(hex) << QString::fromUtf8(why);
        };
        row("1B 40 1D 56 30 0A", "1B 40 1D 56 30 0A", "1b401d56300a");
        row("   1B 40  ", "1B 40", "1b40");
        row("000000FF 9 a", "000000FF 9 a", "ff090a");
        row("", "", "", "no tokens");
        row("1B 40 1D 100", "1B 40 1D 100", "", "token 4 \"100\" is above FF");
        row("1B 40  41", "1B 40  41", "", "empty token after token 2");
        row("\t1B", "\t1B", "", "token 1 \"\t1B\" has U+0009, which is not a hex digit");
        row("1B +1", "1B +1", "", "token 2 \"+1\" has \"+\", which is not a hex digit");
        row("1B \uFF11", "1B \uFF11", "",
            "token 2 \"\uFF11\" has \"\uFF11\", which is not a hex digit");
    }
    void hexText()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusal);
        const HexEncoding encoding = encodeHexCommandText(text);
        QCOMPARE(text, trimmed);
        QCOMPARE(encoding.refusal, refusal);
        QCOMPARE(encoding.bytes, bytes);
    }

    void hexTokenLimit()
    {
        QStringList parts;
        for (int i = 0; i < 32767; ++i)
            parts << QString::number(i % 256, 16);
        QString text = parts.join(u' ');
        QCOMPARE(encodeHexCommandText(text).bytes.size(), 32767);
        QCOMPARE(quint8(encodeHexCommandText(text).bytes.back()), 32766 % 256);
        text += QStringLiteral(" 0");
        QCOMPARE(encodeHexCommandText(text).refusal, QStringLiteral("more than 32767 tokens"));
    }

    void distance_data()
    {
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("tokens"); // empty: refused
        const char* const rows[][2] = {{"300", "60 9"},   {"32", "0 1"},     {"4095.875", "FF 7F"},
                                       {"", "0 0"},       {"abc", "0 0"},    {"12.5mm", "64 0"},
                                       {"1,5", "8 0"},    {"2 5", "C8 0"},   {" \t\n12\t", "60 0"},
                                       {"12\r3", "60 0"}, {"1.2.3", "A 0"},  {"0x10", "0 0"},
                                       {"0.0625", "0 0"}, {"0.1875", "2 0"}, {"0.3125", "2 0"},
                                       {"1E+2", "20 3"},  {"25e-1", "14 0"}, {"1e+", "8 0"},
                                       {".5", "4 0"},     {"+3", "18 0"},    {"-0.0625", "0 0"},
                                       {"4095.9375", ""}, {"1e400", ""},     {"-1", ""},
                                       {"- 1", ""}};
        for (const auto& [text, tokens] : rows)
            QTest::newRow(text) << QString::fromLatin1(text) << QString::fromLatin1(tokens);
    }
    void distance()
    {
        QFETCH(QString, boxText);
        QFETCH(QString, tokens);
        const std::optional<int> counted = DistanceCount::fromBoxText(boxText);
        QCOMPARE(counted.has_value(), !tokens.isEmpty());
        if (counted)
            QCOMPARE(DistanceCount::tokens(*counted), tokens);
    }
    void distanceUnderCommaLocale_data() { distance_data(); }
    void distanceUnderCommaLocale()
    {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            QSKIP("no de_DE.UTF-8 locale on this machine");
        distance();
    }

    void buttonBuildsItsCommandText_data()
    {
        QTest::addColumn<Press>("press");
        QTest::addColumn<QString>("commandText");
        using C = BlackMarkCatalogue;
        const auto row = [](const char* name, Press press, const char* text) {
            QTest::newRow(name) << press << QString::fromLatin1(text);
        };
        row(
            "Command1", [](C& c) { return c.Command1_Click("300", Network); },
            "1F 1B 1F 81 04 05 06 60 9");
        row(
            "Command2", [](C& c) { return c.Command2_Click("10", Network); },
            "1F 1B 1F 82 04 05 06 50 0");
        row(
            "Command3", [](C& c) { return c.Command3_Click("0.125", Network); },
            "1D 28 46 04 00 01 00 1 0");
        row(
            "Command4", [](C& c) { return c.Command4_Click("32", Network); },
            "1D 28 46 04 00 01 01 0 1");
        row(
            "Command6", [](C& c) { return c.Command6_Click("0", Network); },
            "1D 28 46 04 00 02 00 0 0");
        row(
            "Command7", [](C& c) { return c.Command7_Click("4095.875", Network); },
            "1D 28 46 04 00 02 01 FF 7F");
        row(
            "Command5 off", [](C& c) { return c.Command5_Click(0, Network); },
            "1F 1B 1F 80 04 05 06 66");
        row(
            "Command5 on", [](C& c) { return c.Command5_Click(1, Network); },
            "1F 1B 1F 80 04 05 06 44");
        row(
            "Command8", [](C& c) { return c.Command8_Click(Network); },
            "1B 40 1D 0C 2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A "
            "2A 2A 2A 0A");
        row(
            "Command9", [](C& c) { return c.Command9_Click(Network); }, "1B 40 1D 56 30 0A");
        row(
            "refused", [](C& c) { return c.Command4_Click("-1", Network); }, "earlier");
    }
    void buttonBuildsItsCommandText()
    {
        QFETCH(Press, press);
        QFETCH(QString, commandText);
        Bench bench;
        bench.values.CommandText = QStringLiteral("earlier");
        const SendOutcome outcome = press(bench.catalogue);
        QCOMPARE(bench.values.CommandText, commandText);
        QCOMPARE(bench.sdk.written.size(), commandText == "earlier" ? 0 : 1);
        if (outcome.result == SendOutcome::Result::Sent) {
            QVERIFY(bench.messages.shown.isEmpty());
            return;
        }
        QCOMPARE(bench.messages.shown.size(), 1);
        QCOMPARE(
            bench.messages.shown[0].text,
            "Backfeed paper after black mark is found: the distance \"-1\" cannot be "
            "sent.\nEnter a distance from 0 to 4095.875 mm; the button chooses the direction.");
        QCOMPARE(bench.messages.shown[0].icon, UserMessage::Icon::Warning);
    }

    void sendCompletesEveryOpenedDocument_data()
    {
        QTest::addColumn<qint32>("handle");
        QTest::addColumn<QString>("failingStage"); // empty: none fails
        QTest::newRow("handle 7") << 7 << "";
        QTest::newRow("handle 0 is open too") << 0 << "";
        QTest::newRow("start fails") << 7 << "start";
        QTest::newRow("write fails") << 7 << "write";
        QTest::newRow("close fails") << 7 << "close";
    }
    void sendCompletesEveryOpenedDocument()
    {
        QFETCH(qint32, handle);
        QFETCH(QString, failingStage);
        Bench bench;
        bench.sdk.openResult = handle;
        bench.sdk.startDocResult = failingStage == "start" ? -1 : 1;
        bench.sdk.writeResult = failingStage == "write" ? 1 : RecordingPrinterSdk::AnswerTheCount;
        bench.sdk.closeResult = failingStage == "close" ? -1 : 1;

        QString text = QStringLiteral(" 1B 40 ");
        const SendOutcome outcome = bench.sender.SendHexCommand(text, Network);
        const QStringList expected{"POS_Open(127.0.0.1,0,0,0,0,21)", "POS_StartDoc()",
                                   QStringLiteral("POS_WriteFile(%1,1B 40)").arg(handle),
                                   "POS_EndDoc()", "POS_Close()"};
        QCOMPARE(bench.sdk.calls, expected);
        QCOMPARE(text, QStringLiteral("1B 40"));
        QVERIFY(bench.messages.shown.isEmpty());
        QCOMPARE(bench.values.PortHandle, handle);
        QCOMPARE(bench.values.LastResult, bench.sdk.closeResult);
        QCOMPARE(outcome.result, failingStage.isEmpty() ? SendOutcome::Result::Sent
                                                        : SendOutcome::Result::DocumentFailed);
        QCOMPARE(outcome.reason, failingStage.isEmpty() ? QString() : bench.sdk.failure);
    }

    void sendStopsBeforeThePort_data()
    {
        QTest::addColumn<QString>("portText");
        QTest::addColumn<QString>("hexText");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("detail");
        const QString portError = QStringLiteral("Fail to open port,please check!");
        QTest::newRow("SDK gives -1") << "ETHERNET"
                                      << "1B 40" << portError << "scripted failure";
        // Without a kind there is no port to open, so the SDK is not called at all.
        QTest::newRow("no kind") << " COM1"
                                 << "1B 40" << portError
                                 << "The port \" COM1\" is none that this tool knows: it must "
                                    "begin with ETH, COM, LPT or DRI.";
        QTest::newRow("not hex") << "ETHERNET"
                                 << "1B 100"
                                 << "This is not a printer command; nothing was sent."
                                 << "token 2 \"100\" is above FF";
    }
    void sendStopsBeforeThePort()
    {
        QFETCH(QString, portText);
        QFETCH(QString, hexText);
        QFETCH(QString, text);
        QFETCH(QString, detail);
        Bench bench;
        bench.sdk.openResult = -1;
        bench.values = {"", 5, true, 42};
        const SendOutcome outcome =
            bench.sender.SendHexCommand(hexText, {portText, "127.0.0.1", "", "19200"});
        const bool opened = portText == "ETHERNET" && hexText == "1B 40";
        QCOMPARE(bench.sdk.calls.size(), opened ? 1 : 0);
        const UserMessage expected{text, "error", UserMessage::Icon::Error, detail};
        QCOMPARE(bench.messages.shown, QList<UserMessage>{expected});
        QCOMPARE(outcome.reason, detail);
        QCOMPARE(bench.values.PortHandle, hexText == "1B 40" ? -1 : 5); // not hex: no open
        QCOMPARE(bench.values.DocFlag, true);
        QCOMPARE(bench.values.LastResult, 42);
    }
};

QTEST_APPLESS_MAIN(TestCommand)
#include "tst_command.moc"
