#include "HexCommandText.h"

#include <QTest>

class TestHexCommandText : public QObject
{
    Q_OBJECT

private slots:
    void encodes_data();
    void encodes();
    void tokenLimit_data();
    void tokenLimit();
};

void TestHexCommandText::encodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::addColumn<QByteArray>("bytes"); // hex, or empty when refused
    QTest::addColumn<QString>("refusal");

    const auto sent = [](const char* row, const QString& text, const QString& trimmed,
                         const char* hex) {
        QTest::newRow(row) << text << trimmed << QByteArray::fromHex(hex) << QString();
    };
    const auto refused = [](const char* row, const QString& text, const QString& trimmed,
                            const char* why) {
        QTest::newRow(row) << text << trimmed << QByteArray() << QString::fromUtf8(why);
    };

    sent("cut job", "1B 40 1D 56 30 0A", "1B 40 1D 56 30 0A", "1b401d56300a");
    sent("outer spaces trimmed", " 1B 40 ", "1B 40", "1b40");
    sent("many outer spaces", "   FF   ", "FF", "ff");
    sent("two trailing spaces", "1B  ", "1B", "1b");
    sent("single zero", "0", "0", "00");
    sent("lower a", "a", "a", "0a");
    sent("upper A", "A", "A", "0a");
    sent("0a", "0a", "0a", "0a");
    sent("leading zeros", "000000FF 0009", "000000FF 0009", "ff09");
    sent("one-digit high byte", "1F 1B 1F 81 04 05 06 60 9", "1F 1B 1F 81 04 05 06 60 9",
         "1f1b1f810405066009");

    refused("empty", "", "", "no tokens");
    refused("spaces only", "    ", "", "no tokens");
    refused("above FF", "1B 40 1D 100", "1B 40 1D 100", "token 4 \"100\" is above FF");
    refused("FFFF", "FFFF", "FFFF", "token 1 \"FFFF\" is above FF");
    refused("double space", "1B 40  41", "1B 40  41", "empty token after token 2");
    refused("tab separator", "1B\t40", "1B\t40",
            "token 1 \"1B\t40\" has U+0009, which is not a hex digit");
    refused("tab is not trimmed", "\t1B", "\t1B",
            "token 1 \"\t1B\" has U+0009, which is not a hex digit");
    refused("comma", "1B,40", "1B,40", "token 1 \"1B,40\" has \",\", which is not a hex digit");
    refused("minus sign", "-1", "-1", "token 1 \"-1\" has \"-\", which is not a hex digit");
    refused("plus sign", "1B +1", "1B +1", "token 2 \"+1\" has \"+\", which is not a hex digit");
    refused("0x prefix", "0x1B", "0x1B", "token 1 \"0x1B\" has \"x\", which is not a hex digit");
    refused("G", "1G", "1G", "token 1 \"1G\" has \"G\", which is not a hex digit");
    refused("full-width digit", QString::fromUtf8("1B \uFF11"), QString::fromUtf8("1B \uFF11"),
            "token 2 \"\uFF11\" has \"\uFF11\", which is not a hex digit");
    refused("no-break space", QString::fromUtf8("1B\u00A040"), QString::fromUtf8("1B\u00A040"),
            "token 1 \"1B\u00A040\" has U+00A0, which is not a hex digit");
}

void TestHexCommandText::encodes()
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

void TestHexCommandText::tokenLimit_data()
{
    QTest::addColumn<int>("tokens");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("32767") << 32767 << true;
    QTest::newRow("32768") << 32768 << false;
}

void TestHexCommandText::tokenLimit()
{
    QFETCH(int, tokens);
    QFETCH(bool, accepted);
    QStringList parts;
    for (int i = 0; i < tokens; ++i)
        parts << QString::number(i % 256, 16);
    QString text = parts.join(u' ');
    const HexEncoding encoding = encodeHexCommandText(text);
    QCOMPARE(encoding.accepted(), accepted);
    if (accepted) {
        QCOMPARE(encoding.bytes.size(), tokens);
        QCOMPARE(static_cast<quint8>(encoding.bytes.at(tokens - 1)), (tokens - 1) % 256);
    } else {
        QCOMPARE(encoding.refusal, QStringLiteral("more than 32767 tokens"));
        QVERIFY(encoding.bytes.isEmpty());
    }
}

QTEST_APPLESS_MAIN(TestHexCommandText)
#include "tst_hexcommandtext.moc"
