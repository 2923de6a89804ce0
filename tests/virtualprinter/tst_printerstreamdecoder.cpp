#include "PrinterStreamDecoder.h"

#include <QTest>

class TestPrinterStreamDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("answer");

        const auto row = [](const char* name, const QByteArray& hex, QStringList lines,
                            const char* answer = "") {
            QTest::newRow(name) << QByteArray::fromHex(hex) << lines << QByteArray::fromHex(answer);
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
        row("find start and print",
            "1B401D0C2A2A2A2A5445535420535441525420504F534954494F4E2A2A2A2A0A",
            {"1B 40  ESC @: initialise the printer",
             "1D 0C  GS FF: feed marked paper to the print starting position",
             "2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A 2A 2A 2A  "
             "text \"****TEST START POSITION****\"",
             "0A  LF: print and feed one line"});
        row("cuts", "1D56301D56011D564205",
            {"1D 56 30  GS V: full cut", "1D 56 01  GS V: partial cut",
             "1D 56 42 05  GS V: feed 5 and partial cut"});
        row("unknown bytes", "0001FE0C1B40",
            {"00 01 FE  unknown bytes", "0C  FF: print the page",
             "1B 40  ESC @: initialise the printer"});
        row("unknown ESC", "1B7E", {"1B 7E  ESC 7E: unknown command"});
        row("fixed parameters", "1B61011B700032781D4C30011C261B7201100501",
            {"1B 61 01  ESC a: justification 1",
             "1B 70 00 32 78  ESC p: drawer pulse on pin 0, 50 on, 120 off",
             "1D 4C 30 01  GS L: left margin 304", "1C 26  FS &: kanji mode on",
             "1B 72 01  ESC r: print colour 1", "10 05 01  DLE ENQ: real-time request 1"});
        row("text styles",
            "1B45011B2D021B21081D21111B33181B64021B4A051B74101D42011B56011B4D011C2108",
            {"1B 45 01  ESC E: emphasis 1", "1B 2D 02  ESC -: underline 2",
             "1B 21 08  ESC !: print mode 8", "1D 21 11  GS !: character size 17",
             "1B 33 18  ESC 3: line spacing 24", "1B 64 02  ESC d: print and feed 2 lines",
             "1B 4A 05  ESC J: print and feed 5 units", "1B 74 10  ESC t: character code table 16",
             "1D 42 01  GS B: white on black 1", "1B 56 01  ESC V: quarter-turn rotation 1",
             "1B 4D 01  ESC M: character font 1", "1C 21 08  FS !: kanji print mode 8"});
        row("bit image", "1B2A2101000102031B2A2001000102030A",
            {"1B 2A 21 01 00 01 02 03  ESC *: bit image mode 33, 1 columns",
             "1B 2A 20 01 00 01 02 03  ESC *: bit image mode 32, 1 columns",
             "0A  LF: print and feed one line"});
        row("raster image", "1D76300002000100AABB",
            {"1D 76 30 00 02 00 01 00 AA BB  GS v 0: raster image 16 x 1 dots, mode 0"});
        row("parameter block", "1D286B030031430541",
            {"1D 28 6B 03 00 31 43 05  GS ( k: 2D code, 3 parameter bytes", "41  text \"A\""});
        row("barcodes", "1D6B04313200001D6B49024142001D6B410231321D6B50",
            {"1D 6B 04 31 32 00  GS k: barcode CODE39 (system 4)", "00  unknown bytes",
             "1D 6B 49 02 41 42  GS k: barcode CODE128 (system 73)", "00  unknown bytes",
             "1D 6B 41 02 31 32  GS k: barcode UPC-A (system 65)",
             "1D 6B 50  GS k: unknown barcode system 50"});
        QStringList named;
        for (const char* name :
             {"A test print", "C user memory", "D real-time command switch", "E user setup",
              "H response request", "K print control", "L graphics", "N character effects",
              "P page mode", "Q graphic shapes", "z function"}) {
            const QByteArray x = QByteArray(name, 1);
            named << QStringLiteral("1D 28 %1 01 00 00  GS ( %2: %3, 1 parameter bytes")
                         .arg(QString(x.toHex().toUpper()), QString(x), QString(name + 2));
        }
        row("named parameter blocks",
            "1D28410100001D28430100001D28440100001D28450100001D28480100001D284B0100001D284C01"
            "00001D284E0100001D28500100001D28510100001D287A010000",
            named);
        row("unknown modes", "1B2A051D56071004071D38411D76311C284C0300503030",
            {"1B 2A 05  ESC *: unknown bit image mode 05", "1D 56 07  GS V: unknown cut mode 07",
             "10 04 07  DLE EOT: unknown status request 7", "1D 38  GS 38: unknown command",
             "41  text \"A\"", "1D 76  GS 76: unknown command", "31  text \"1\"",
             "1C 28 4C 03 00 50 30 30  FS ( L: function 80, 2 parameter bytes"});
        row("other laid-out commands", "1B44081000411D384C0200000030700A",
            {"1B 44 08 10 00  ESC D: horizontal tab positions", "41  text \"A\"",
             "1D 38 4C 02 00 00 00 30 70  GS 8 L: graphics, 2 parameter bytes",
             "0A  LF: print and feed one line"});
        row("status requests", "1004011004021D72311D72021D7204",
            {"10 04 01  DLE EOT: printer status request (answer: 16)",
             "10 04 02  DLE EOT: offline cause request (answer: 12)",
             "1D 72 31  GS r: paper sensor request (answer: 00)",
             "1D 72 02  GS r: drawer connector request (answer: 00)",
             "1D 72 04  GS r: ink request (answer: 00)"},
            "1612000000");
        row("printer ID requests", "1D49421D49021D4970",
            {"1D 49 42  GS I: printer ID request 66 (answer: \"BLACKMARK\")",
             "1D 49 02  GS I: printer ID request 2 (answer: 02)",
             "1D 49 70  GS I: unknown printer ID request 112"},
            "5F424C41434B4D41524B0002");
        row("paper layout", "1C284C11002133313031363B2D32363B33303B3B3B3B",
            {"1C 28 4C 11 00 21 33 31 30 31 36 3B 2D 32 36 3B 33 30 3B 3B 3B 3B  FS ( L: paper "
             "layout black-mark paper (pitch 101.6 mm, print start -2.6 mm, cut 3 mm)"});
        row("unreadable layout", "1C284C06002133783B3B3B",
            {"1C 28 4C 06 00 21 33 78 3B 3B 3B  FS ( L: paper layout with unreadable parameters"});
        row("layout and position asked", "1C284C020042301C284C020043311C284C020022501C284C02003030",
            {"1C 28 4C 02 00 42 30  FS ( L: feed to the cutting position, unless there already",
             "1C 28 4C 02 00 43 31  FS ( L: feed to the print start position, the next one",
             "1C 28 4C 02 00 22 50  FS ( L: send the paper layout in effect, in dots (answer: 37 "
             "4B 38 30 1F 30 1F 1F 1F 1F 1F 1F 00)",
             "1C 28 4C 02 00 30 30  FS ( L: send the position (answer: 37 38 44 40 00)"},
            "374B38301F301F1F1F1F1F1F003738444000");
        row("FS ( x by its length", "1C2841020001021C284CFF00",
            {"1C 28 41 02 00 01 02  FS ( A: function, 2 parameter bytes",
             "1C 28 4C FF 00  truncated FS ( L"});
        row("settings memory",
            "1D284D020001011D284D020003011D284D020033311D284D03000203041D284D01000141",
            {"1D 28 4D 02 00 01 01  GS ( M: save the settings",
             "1D 28 4D 02 00 03 01  GS ( M: load the saved settings at start-up",
             "1D 28 4D 02 00 33 31  GS ( M: load the saved settings at start-up",
             "1D 28 4D 03 00 02 03 04  GS ( M: unexpected parameter length 3",
             "1D 28 4D 01 00 01  GS ( M: unexpected parameter length 1", "41  text \"A\""});
        row("automatic status back", "1D61FF1D6100",
            {"1D 61 FF  GS a: automatic status back 255 (status: 14 00 00 00)",
             "1D 61 00  GS a: automatic status back 0"},
            "14000000");
        const QString longRun = QString("44 ").repeated(48) + u'\u2026';
        row("long text", QByteArray(600, '4') + "0A",
            {longRun + " (300 bytes)  text \"" + QString(48, u'D') + "\u2026\"",
             "0A  LF: print and feed one line"});
        row("maker frame broken late", "1F1B1F81040541",
            {"1F  unknown bytes", "1B 1F  ESC 1F: unknown command", "81 04 05  unknown bytes",
             "41  text \"A\""});
        row("lone 1F", "1F40", {"1F  unknown bytes", "40  text \"@\""});
        row("FS ( L longer than read", "1C284C3C0042" + QByteArray("30").repeated(59),
            {"1C 28 4C 3C 00 42 " + QString("30 ").repeated(42) +
             "\u2026 (65 bytes)  FS ( L: unexpected parameter length 60"});
        row("truncated maker", "1F1B1F8104", {"1F 1B 1F 81 04  truncated maker command"});
        row("truncated distance", "1F1B1F81040506",
            {"1F 1B 1F 81 04 05 06  truncated maker command 81"});
        row("truncated GS ( F", "1D28460400010064", {"1D 28 46 04 00 01 00 64  truncated GS ( F"});
        row("truncated after FS ( L", "1C284C", {"1C 28 4C  truncated FS ( L"});
        row("truncated ESC", "0A1B",
            {"0A  LF: print and feed one line", "1B  truncated ESC command"});
        row("truncated GS V", "1D56", {"1D 56  truncated GS V"});
        row("truncated raster", "1D763000FF00FF00" + QByteArray(200, 'A'),
            {"1D 76 30 00 FF 00 FF 00 " + QString("AA ").repeated(40) +
             "\u2026 (108 bytes)  truncated GS v 0"});
        row("truncated barcode", "1D6B0431", {"1D 6B 04 31  truncated GS k"});
        row("empty", "", {});
    }

    void decodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, answer);
        BlackMarkSettings settings;
        PrinterStreamDecoder decoder(settings);
        QCOMPARE(decoder.decode(bytes), lines);
        QCOMPARE(decoder.takeAnswer(), answer);

        PrinterStreamDecoder byteByByte(settings);
        QStringList fed;
        for (char byte : bytes)
            fed += byteByByte.feed(QByteArrayView(&byte, 1));
        QCOMPARE(fed + byteByByte.finish(), lines);
    }

    // Each row a condition and the answers to every status request, then to GS a.
    void answersAsTheConditionSays()
    {
        const QByteArray requests = QByteArray::fromHex("1004011004021004031004041D72011D6101");
        const std::pair<std::function<void(PrinterCondition&)>, const char*> rows[] = {
            {[](PrinterCondition&) {}, "16 12 12 12 00 14000000"},
            {[](PrinterCondition& c) { c.paperNearEnd = true; }, "16 12 12 1E 03 14000300"},
            {[](PrinterCondition& c) { c.paperEnd = true; }, "1E 32 12 7E 0F 1C000F00"},
            {[](PrinterCondition& c) { c.coverOpen = true; }, "1E 16 12 12 00 3C000000"},
            {[](PrinterCondition& c) { c.offline = true; }, "1E 12 12 12 00 1C000000"}};
        for (const auto& [set, answers] : rows) {
            PrinterCondition condition;
            set(condition);
            BlackMarkSettings settings;
            PrinterStreamDecoder decoder(settings, condition);
            decoder.decode(requests);
            QCOMPARE(decoder.takeAnswer().toHex().toUpper(), QByteArray(answers).replace(" ", ""));
        }
        PrinterCondition named;
        QVERIFY(named.setIdentity("A;B;C;D"));
        QVERIFY(!named.setIdentity("A;B;C") && !named.setIdentity("A;B;C;\x01"));
        QVERIFY(!named.setIdentity("A;B;C;" + QString(81, u'x')));
        QVERIFY(named.setIdentity("A;B;C;" + QString(80, u'x')) && named.setIdentity("A;B;C;D"));
        QCOMPARE(named.printerId(67) + named.printerId(68), QByteArray("\x5F\x42\0\x5F\x44", 6));
    }

    void keepsSettingsAcrossDocuments()
    {
        BlackMarkSettings settings;
        QCOMPARE(
            settings.describe(),
            QStringLiteral("settings: mark max width not set, paper max width not set, black mark "
                           "function not set, print start not set, cut position not set, paper "
                           "layout not set, saved paper layout not set"));
        // Initialising keeps the settings; a layout's field left out keeps its value.
        for (const char* document :
             {"1F1B1F810405066009", "1F1B1F8004050644", "1D284604000101100000", "1B40",
              "1C284C0F002133313031303B2D32363B3B3B3B3B", "1D284D02000101",
              "1C284C0A0021333B3B33303B3B3B3B"})
            PrinterStreamDecoder(settings).decode(QByteArray::fromHex(document));
        QCOMPARE(settings.describe(),
                 QStringLiteral("settings: mark max width 300 mm, paper max width not set, black "
                                "mark function on, print start backfeed 2 mm, cut position not "
                                "set, paper layout black-mark paper (pitch 101 mm, print start "
                                "-2.6 mm, cut 3 mm), saved paper layout black-mark paper (pitch "
                                "101 mm, print start -2.6 mm)"));
    }
};

QTEST_APPLESS_MAIN(TestPrinterStreamDecoder)
#include "tst_printerstreamdecoder.moc"
