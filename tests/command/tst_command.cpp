#include "BlackMarkCatalogue.h"
#include "DistanceCount.h"
#include "HexCommandText.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"

#include <QTest>
#include <clocale>

namespace
{

const PortSettings Network{"ETHERNET", "127.0.0.1", "Receipt", "19200"};

struct Bench {
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender{sdk, messages, values};
    BlackMarkCatalogue catalogue{sender};

    // Presses button n; box is its distance box's text, or the on/off index for Command5.
    SendOutcome press(int n, const QString& box)
    {
        using Distance = SendOutcome (BlackMarkCatalogue::*)(const QString&, const PortSettings&);
        const Distance distances[] = {nullptr,
                                      &BlackMarkCatalogue::Command1_Click,
                                      &BlackMarkCatalogue::Command2_Click,
                                      &BlackMarkCatalogue::Command3_Click,
                                      &BlackMarkCatalogue::Command4_Click,
                                      nullptr,
                                      &BlackMarkCatalogue::Command6_Click,
                                      &BlackMarkCatalogue::Command7_Click};
        if (n == 5)
            return catalogue.Command5_Click(box.toInt(), Network);
        if (n >= 8)
            return n == 8 ? catalogue.Command8_Click(Network) : catalogue.Command9_Click(Network);
        return (catalogue.*distances[n])(box, Network);
    }
};

} // namespace

// The hex command text, the distance rule, the command text of every button, and the send.
class TestCommand : public QObject
{
    Q_OBJECT

private slots:
    void hexText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* text, const char* hex, const char* why = "") {
            QTest::newRow(text) << QString::fromUtf8(text) << QByteArray::fromHex(hex)
                                << QString::fromUtf8(why);
        };
        row("1B 40 1D 56 30 0A", "1b401d56300a");
        row("   000000FF 9 a  ", "ff090a");
        row("", "", "no tokens");
        row("1B 40 1D 100", "", "token 4 \"100\" is above FF");
        row("1B 40  41", "", "empty token after token 2");
        row("\t1B", "", "token 1 \"\t1B\" has U+0009, which is not a hex digit");
        row("1B \uFF11", "", "token 2 \"\uFF11\" has \"\uFF11\", which is not a hex digit");
        QStringList tokens;
        QByteArray bytes;
        for (int i = 0; i < 32767; ++i) {
            tokens << QString::number(i % 256, 16);
            bytes.append(char(i % 256));
        }
        QTest::newRow("32767 tokens") << tokens.join(u' ') << bytes << "";
        QTest::newRow("32768 tokens")
            << tokens.join(u' ') + " 0" << QByteArray() << "more than 32767 tokens";
    }
    void hexText()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusal);
        const HexEncoding encoding = encodeHexCommandText(text);
        QCOMPARE(encoding.refusal, refusal);
        QCOMPARE(encoding.bytes, bytes);
    }

    void distance_data()
    {
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("tokens"); // empty: refused
        const char* const rows[][2] = {
            {"300", "60 9"},       {"32", "0 1"},      {"4095.875", "FF 7F"}, {"", "0 0"},
            {"abc", "0 0"},        {"12.5mm", "64 0"}, {"1,5", "8 0"},        {"2 5", "C8 0"},
            {" \t\n12\t", "60 0"}, {"12\r3", "60 0"},  {"1.2.3", "A 0"},      {"0.0625", "0 0"},
            {"0.3125", "2 0"},     {"1E+2", "20 3"},   {"25e-1", "14 0"},     {"1e+", "8 0"},
            {"-0.0625", "0 0"},    {"4095.9375", ""},  {"1e400", ""},         {"- 1", ""}};
        for (const auto& [text, tokens] : rows)
            QTest::newRow(text) << QString::fromLatin1(text) << QString::fromLatin1(tokens);
    }
    void distance()
    {
        QFETCH(QString, boxText);
        QFETCH(QString, tokens);
        // The full stop is the decimal point whatever the locale.
        for (const char* locale : {"de_DE.UTF-8", "C"}) {
            if (!std::setlocale(LC_ALL, locale))
                continue;
            const std::optional<int> counted = DistanceCount::fromBoxText(boxText);
            QCOMPARE(counted ? DistanceCount::tokens(*counted) : QString(), tokens);
        }
    }

    void buttonBuildsItsCommandText_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("commandText");
        const auto row = [](int button, const char* box, const char* text) {
            QTest::newRow(text) << button << box << text;
        };
        row(1, "300", "1F 1B 1F 81 04 05 06 60 9");
        row(2, "10", "1F 1B 1F 82 04 05 06 50 0");
        row(3, "0.125", "1D 28 46 04 00 01 00 1 0");
        row(4, "32", "1D 28 46 04 00 01 01 0 1");
        row(6, "0", "1D 28 46 04 00 02 00 0 0");
        row(7, "4095.875", "1D 28 46 04 00 02 01 FF 7F");
        row(5, "0", "1F 1B 1F 80 04 05 06 66");
        row(5, "1", "1F 1B 1F 80 04 05 06 44");
        row(8, "",
            "1B 40 1D 0C 2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E "
            "2A 2A 2A 2A 0A");
        row(9, "", "1B 40 1D 56 30 0A");
        row(4, "-1", "earlier"); // refused: nothing changes, nothing is sent
    }
    void buttonBuildsItsCommandText()
    {
        QFETCH(int, button);
        QFETCH(QString, boxText);
        QFETCH(QString, commandText);
        Bench bench;
        bench.values.CommandText = QStringLiteral("earlier");
        const SendOutcome outcome = bench.press(button, boxText);
        QCOMPARE(bench.values.CommandText, commandText);
        const bool refused = outcome.result == SendOutcome::Result::Refused;
        QCOMPARE(bench.sdk.written.size(), refused ? 0 : 1);
        QCOMPARE(bench.messages.shown.size(), refused ? 1 : 0);
        if (refused) {
            QCOMPARE(bench.messages.shown[0].text,
                     "Backfeed paper after black mark is found: the distance \"-1\" cannot be "
                     "sent.\nEnter a distance from 0 to 4095.875 mm; the button chooses the "
                     "direction.");
            QCOMPARE(bench.messages.shown[0].icon, UserMessage::Icon::Warning);
        }
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
        const UserMessage failed{CommandSender::DocumentFailedText, "error",
                                 UserMessage::Icon::Error, bench.sdk.failure};
        QCOMPARE(bench.messages.shown, QList<UserMessage>(failingStage.isEmpty() ? 0 : 1, failed));
        QCOMPARE(bench.values.PortHandle, handle);
        QCOMPARE(bench.values.LastResult, bench.sdk.closeResult);
        QCOMPARE(outcome.result, failingStage.isEmpty() ? SendOutcome::Result::Sent
                                                        : SendOutcome::Result::DocumentFailed);
        QCOMPARE(outcome.reason, failingStage.isEmpty() ? QString() : bench.sdk.failure);
    }
};

QTEST_APPLESS_MAIN(TestCommand)
#include "tst_command.moc"
