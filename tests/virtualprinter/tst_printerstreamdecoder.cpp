#include "PrinterStreamDecoder.h"

#include <QTest>

class TestPrinterStreamDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decodes_data();
    void decodes();
    void keepsSettingsAcrossDocuments();
};

void TestPrinterStreamDecoder::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    const auto row = [](const char* name, const char* hex, QStringList lines) {
        QTest::newRow(name) << QByteArray::fromHex(hex) << lines;
    };
    row("mark max width", "1F1B1F810405066009",
        {"1F 1B 1F 81 04 05 06 60 09  black mark max width 300 mm (2400 counts)"});
    row("paper max width", "1F1B1F820405065000",
        {"1F 1B 1F 82 04 05 06 50 00  black mark paper max width 10 mm (80 counts)"});
    row("function on", "1F1B1F8004050644", {"1F 1B 1F 80 04 05 06 44  black mark function on"});
    row("function odd value", "1F1B1F8004050601",
        {"1F 1B 1F 80 04 05 06 01  black mark function: unknown value 01"});
    row("maker unknown function", "1F1B1F8304050601",
        {"1F 1B 1F 83 04 05 06  maker command 83: unknown function", "01  unknown bytes"});
    row("print start feed", "1D284604000100640000",
        {"1D 28 46 04 00 01 00 64 00  GS ( F: print start feed 12.5 mm (100 counts)",
         "00  unknown bytes"});
    row("cut backfeed", "1D28460400020108FF",
        {"1D 28 46 04 00 02 01 08 FF  GS ( F: cut position backfeed 8161 mm (65288 counts)"});
    row("GS ( F odd length", "1D2846020001FF",
        {"1D 28 46 02 00 01 FF  GS ( F: unexpected parameter length 2"});
    row("GS ( F odd function", "1D28460400030000FF",
        {"1D 28 46 04 00 03 00 00 FF  GS ( F: unknown function 03 direction 00"});
    row("find start and print", "1B401D0C2A2A2A2A5445535420535441525420504F534954494F4E2A2A2A2A0A",
        {"1B 40  ESC @: initialise the printer",
         "1D 0C  GS FF: feed marked paper to the print starting position",
         "2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A 2A 2A 2A  text "
         "\"****TEST START POSITION****\"",
         "0A  LF: print and feed one line"});
    row("cuts", "1D56301D56011D564205",
        {"1D 56 30  GS V: full cut", "1D 56 01  GS V: partial cut",
         "1D 56 42 05  GS V: feed 5 and partial cut"});
    row("unknown bytes", "0001FE1B40",
        {"00 01 FE  unknown bytes", "1B 40  ESC @: initialise the printer"});
    row("unknown ESC", "1B74", {"1B 74  ESC 74: unknown command"});
    row("lone 1F", "1F40", {"1F  unknown bytes", "40  text \"@\""});
    row("truncated maker", "1F1B1F8104", {"1F 1B 1F 81 04  truncated maker command"});
    row("truncated distance", "1F1B1F81040506",
        {"1F 1B 1F 81 04 05 06  truncated maker command 81"});
    row("truncated GS ( F", "1D28460400010064", {"1D 28 46 04 00 01 00 64  truncated GS ( F"});
    row("truncated ESC", "0A1B", {"0A  LF: print and feed one line", "1B  truncated ESC command"});
    row("truncated GS V", "1D56", {"1D 56  truncated GS V"});
    row("empty", "", {});
}

void TestPrinterStreamDecoder::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    PrinterStreamDecoder decoder;
    QCOMPARE(decoder.decode(bytes), lines);
}

void TestPrinterStreamDecoder::keepsSettingsAcrossDocuments()
{
    PrinterStreamDecoder decoder;
    QCOMPARE(decoder.settings().describe(),
             QStringLiteral("settings: mark max width not set, paper max width not set, black mark "
                            "function not set, print start not set, cut position not set"));
    decoder.decode(QByteArray::fromHex("1F1B1F810405066009"));
    decoder.decode(QByteArray::fromHex("1F1B1F8004050644"));
    decoder.decode(QByteArray::fromHex("1D284604000101100000"));
    decoder.decode(QByteArray::fromHex("1B40")); // initialising keeps the settings
    QCOMPARE(decoder.settings().describe(),
             QStringLiteral("settings: mark max width 300 mm, paper max width not set, black mark "
                            "function on, print start backfeed 2 mm, cut position not set"));
}

QTEST_APPLESS_MAIN(TestPrinterStreamDecoder)
#include "tst_printerstreamdecoder.moc"
