#include "PrintedPictures.h"
#include "VirtualPrinterOutput.h"

#include <QDebug>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QByteArray MarksOn = QByteArray::fromHex("1F1B1F8004050644");

// The bytes of a literal, its zeros included.
template <qsizetype N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

// GS ( F: the print start (1) or cut (2) fed (or backfed when negative) by `dots`.
QByteArray adjust(int what, int dots)
{
    const int count = std::abs(dots);
    return QByteArray("\x1D(F\x04\x00", 5) + char(what) + char(dots < 0) + char(count & 0xFF) +
           char(count >> 8);
}

// Prints `document` in pieces of `piece` bytes (all at once when 0); the pictures written.
QList<QImage> print(const QByteArray& document, const QString& paper = "plain", int piece = 0,
                    QStringList* names = nullptr)
{
    std::string refusal;
    return printedPictures(*PaperRoll::read(paper.toStdString(), refusal), document, piece, names);
}

// The first row of each run of `colour` down column `x`.
QList<int> runs(const QImage& picture, int x, QRgb colour)
{
    QList<int> starts;
    for (int y = 0; y < picture.height(); ++y)
        if (picture.pixel(x, y) == colour && (y == 0 || picture.pixel(x, y - 1) != colour))
            starts << y;
    return starts;
}

// The pattern of the images: row y, column x is printed where this holds.
bool printed(int x, int y)
{
    return (x * 7 + y * 3) % 5 == 0;
}

QRect ink(const QImage& picture)
{
    QRect box;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == qRgb(0, 0, 0))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestPaperPicture : public QObject
{
    Q_OBJECT

private slots:
    void marksStartsAndCuts_data()
    {
        QTest::addColumn<QString>("paper");
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("x");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QList<int>>("rows");
        const auto row = [](const char* name, const char* paper, const QByteArray& document, int x,
                            QRgb colour, QList<int> rows) {
            QTest::newRow(name) << paper << document << x << colour << rows;
        };
        const QRgb blue = qRgb(0, 0, 255), red = qRgb(255, 0, 0), black = qRgb(0, 0, 0);
        const QByteArray feedFar = QByteArray("\x1BJ\xFF\x1BJ\xFF\x1BJ\xFF\x1BJ\xFF");
        const char* const marks = "black-mark:50";
        row("print start fed after a mark", marks, MarksOn + adjust(1, 16) + "\x1D\x0C", 630, blue,
            {416});
        row("print start backfed", marks, MarksOn + adjust(1, -8) + "\x1D\x0C" + "\x1D\x0C", 630,
            blue, {392});
        row("cut fed after a mark", marks, MarksOn + adjust(2, 64) + bytes("\x1DVA\x00"), 300, red,
            {463});
        row("cut backfed, then fed on", marks, MarksOn + adjust(2, -40) + "\x1DVA\x10", 300, red,
            {375});
        row("function off: no start", marks, "\x1D\x0C" + feedFar, 630, blue, {});
        row("labels, start from the layout", "label:40",
            bytes("\x1C(L\x0D\x00!1400;20;;;;;\x1C(L\x02\x00\x43\x30"), 630, blue, {336});
        row("labels, cut from the layout", "label:40",
            bytes("\x1C(L\x0F\x00!1400;20;40;;;;\x1C(L\x02\x00\x42\x30\x1Bm"), 300, red, {351});
        row("cut, then on to the print start", marks, MarksOn + adjust(1, 16) + bytes("\x1DVa\x00"),
            630, blue, {416});
        row("marks at the pitch", marks, feedFar, 5, black, {368, 768});
        row("label edges", "label:40", feedFar.first(9), 300, qRgb(160, 160, 160),
            {296, 319, 616, 639});
    }
    void marksStartsAndCuts()
    {
        QFETCH(QString, paper);
        QFETCH(QByteArray, document);
        QFETCH(int, x);
        QFETCH(QRgb, colour);
        const QList<QImage> pictures = print(document, paper);
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures[0].width(), 640);
        QFETCH(QList<int>, rows);
        QCOMPARE(runs(pictures[0], x, colour), rows);
    }

    void imagesDotForDot_data()
    {
        QTest::addColumn<QByteArray>("document");
        // 16 x 24 dots, eight a byte, the first the highest bit: by rows, then by columns.
        QByteArray rows(48, '\0'), columns(48, '\0');
        for (int i = 0; i < 16 * 24; ++i) {
            rows[i / 8] = char(rows[i / 8] | printed(i % 16, i / 16) << (7 - i % 8));
            columns[i / 8] = char(columns[i / 8] | printed(i / 24, i % 24) << (7 - i % 8));
        }
        QTest::newRow("raster") << QByteArray("\x1Dv0\x00\x02\x00\x18\x00", 8) + rows;
        QTest::newRow("bit image") << QByteArray("\x1B*\x21\x10\x00", 5) + columns + "\n";
        const QByteArray printStored = bytes("\x1D(L\x02\x00\x30\x32");
        QTest::newRow("graphics") << bytes(
                                         "\x1D(L\x3A\x00\x30\x70\x30\x01\x01\x31\x10\x00\x18\x00") +
                                         rows + printStored;
        QTest::newRow("graphics, large form")
            << bytes("\x1D\x38L\x3A\x00\x00\x00\x30\x70\x30\x01\x01\x31\x10\x00\x18\x00") + rows +
                   printStored;
        QTest::newRow("stored graphics")
            << bytes("\x1D(L\x3B\x00\x30\x43\x30\x41\x42\x01\x10\x00\x18\x00\x31") + rows +
                   bytes("\x1D(L\x06\x00\x30\x45\x41\x42\x01\x01");
    }
    void imagesDotForDot()
    {
        QFETCH(QByteArray, document);
        const QImage picture = print(document).value(0);
        QVERIFY(picture.height() >= 24);
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 18; ++x) {
                QCOMPARE(y < picture.height() && picture.pixel(32 + x, y) == qRgb(0, 0, 0),
                         x < 16 && y < 24 && printed(x, y));
            }
    }

    void textByCells_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QRect>("cells");
        QTest::addColumn<bool>("exact"); // the ink fills the cells, not a glyph within them
        const auto row = [](const char* name, const QByteArray& document, QRect cells,
                            bool exact = false) {
            QTest::newRow(name) << document << cells << exact;
        };
        const auto at = [](int x, int y) { return QRect(x, y, 12, 24); };
        const QRect wide(32, 0, 576, 60);
        row("font A", "HHHH\n", QRect(32, 0, 48, 24));
        row("font B", "\x1BM\x01HHHH\n", QRect(32, 0, 36, 17));
        row("double size", "\x1D!\x11HH\n", QRect(32, 0, 48, 48));
        row("bold, ESC !", "\x1B!\x38HH\n", QRect(32, 0, 48, 48));
        row("centred", "\x1B\x61\x01HHHH\n", QRect(296, 0, 48, 24));
        row("right", "\x1B\x61\x02HHHH\n", QRect(560, 0, 48, 24));
        row("left margin", bytes("\x1DL\x30\x00HHHH\n"), QRect(80, 0, 48, 24));
        row("area width wraps", bytes("\x1DW\x78\x00HHHHHHHHHHHH\n"), QRect(32, 0, 120, 54));
        row("upside down", "\x1B{\x01H\n", QRect(596, 0, 12, 24));
        row("reverse", "\x1D\x42\x01  \n", QRect(32, 0, 24, 24), true);
        row("underline", "\x1B-\x02 \n", QRect(32, 22, 12, 2), true);
        row("code page 437", "\xDB\n", QRect(32, 0, 12, 24), true);
        row("code table 1252", "\x1Bt\x10\xC9\n", QRect(32, 0, 12, 24));
        const QByteArray pdf417 = bytes("\x1D(k\x07\x00\x30P0ABCD\x1D(k\x03\x00\x30Q0");
        row("PDF417", pdf417, QRect(32, 0, 309, 54), true);
        for (const auto& [level, box] : {std::pair{"0", QRect(32, 0, 258, 45)},
                                         {"1", QRect(32, 0, 258, 63)},
                                         {"8", QRect(32, 0, 576, 360)}})
            row(level, bytes("\x1D(k\x04\x00\x30\x45\x30") + level + pdf417, box, true);
        row("Data Matrix", bytes("\x1D(k\x07\x00\x36P0ABCD\x1D(k\x03\x00\x36Q0"),
            QRect(32, 0, 36, 36));
        row("tab", "\tH\n", at(128, 0));
        row("absolute, relative", bytes("\x1B$\x3C\x00\x1B\\\x08\x00H\n"), at(100, 0));
        row("character spacing", "\x1B \x04HH\n", QRect(32, 0, 28, 24));
        row("spacing, feed lines", "\x1B\x33\x28\n\x1B\x64\x02H\n", at(32, 120));
        row("default spacing, feed back",
            "\x1B\x33\x50\x1B\x32\x1BJ\x64\x1B\x65\x01\x1B\x45\x01H\n", at(32, 70));
        row("barcode text above, font B", bytes("\x1DH\x01\x1D\x66\x01\x1Dh\x10\x1Dk\x04\x41\x00"),
            QRect(32, 0, 576, 33));
        row("barcode one dot high", bytes("\x1Dh\x01\x1Dk\x04\x41\x00"), QRect(32, 0, 114, 1),
            true);
        row("bad barcode: a gap", bytes("\x1Dk\x02\x41\x42\x43\x00H\n"), at(32, 24));
        row("unknown barcode system: a gap", "\x1Dk\x07H\n", at(32, 24));
        row("unknown 2D code: a gap", bytes("\x1D(k\x03\x00xQ0H\n"), at(32, 24));
        row("underline, ESC !", "\x1B!\x80 \n", QRect(32, 23, 12, 1), true);
        row("raster, quadruple", bytes("\x1Dv0\x03\x01\x00\x01\x00\xC0"), QRect(32, 0, 4, 2), true);
        row("raster, double width", bytes("\x1Dv0\x01\x01\x00\x01\x00\xC0"), QRect(32, 0, 4, 1),
            true);
        row("reverse after an empty line", "\n\x1D\x42\x01 \n", QRect(32, 30, 12, 24), true);
        row("QR Code, level H",
            bytes("\x1D(k\x03\x00\x31\x45\x33\x1D(k\x04\x00\x31P0A\x1D(k\x03\x00\x31Q0"),
            QRect(32, 0, 63, 63), true);
        row("barcode text both sides", bytes("\x1DH\x03\x1Dh\x10\x1Dk\x04\x41\x00"),
            QRect(32, 0, 576, 64));
        row("no bit image: a gap", bytes("\x1D/\x00H\n"), at(32, 24));
        row("too large: a gap",
            bytes("\x1D\x38L\x00\x00\x90\x00") + QByteArray(0x900000, '\0') + "H\n", at(32, 24));
        row("Aztec", bytes("\x1D(k\x07\x00\x35P0ABCD\x1D(k\x03\x00\x35Q0"), wide);
        row("stored logo: a gap", bytes("\x1Cp\x01\x00H\n"), at(32, 24));
        row("barcode text below", bytes("\x1DH\x02\x1Dh\x10\x1Dw\x02\x1Dk\x04\x41\x00"),
            QRect(32, 0, 576, 40));
    }
    void textByCells()
    {
        QFETCH(QByteArray, document);
        QFETCH(QRect, cells);
        const QRect box = ink(print(document).value(0));
        if (QFETCH(bool, exact); exact)
            QCOMPARE(box, cells);
        QVERIFY2(cells.contains(box), qPrintable(QDebug::toString(box)));
        QVERIFY(box.width() * 3 > cells.width() * 2 || cells.width() == 576);
        QVERIFY(box.height() * 2 > cells.height());
    }

    // Each row two documents that print the same picture.
    void printsAlike_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QByteArray>("alike");
        QTest::addColumn<bool>("same");
        const auto row = [](const char* name, const QByteArray& document, const QByteArray& alike,
                            bool same = true) { QTest::newRow(name) << document << alike << same; };
        const QByteArray code39 = bytes("\x1Dh\x10\x1Dk\x04\x41\x00");
        const QByteArray pdf417 = bytes("\x1D(k\x07\x00\x30P0ABCD\x1D(k\x03\x00\x30Q0");
        row("code page 437's first, as in code table 1252", "\x80\n", "\x1Bt\x10\xC7\n");
        row("code table 1252's first, as in code page 858", "\x1Bt\x10\x80\n", "\x1Bt\x13\xD5\n");
        row("... not code page 437's", "\x1Bt\x10\x80\n", "\x80\n", false);
        row("barcode text by digit, in font A unless chosen", "\x1DH\x33" + code39,
            bytes("\x1D\x66\x00\x1DH\x03") + code39);
        row("PDF417's error correction by ratio: the encoder's",
            bytes("\x1D(k\x04\x00\x30\x45\x31\x28") + pdf417, pdf417);
        row("font B by ESC !", "\x1B!\x01H\n", "\x1BM\x01H\n");
        row("no underline 3", "\x1B-\x03H\n", "H\n");
        row("emphasis struck twice", "\x1B\x45\x01H\n", "H\n", false);
        QByteArray held("\x1B\x33\x18"), printed = held;
        for (const QByteArray& move :
             {QByteArray("\x1BJ\x30"), QByteArray("\x1B\x64\x01"), bytes("\x1DVB\x00"),
              QByteArray("\x1Bi"), QByteArray("\x1D\x0C"), bytes("\x1C(L\x02\x00\x42\x31"),
              QByteArray("\x1B@")}) {
            held += "H" + move;
            printed += "H\n" + move;
        }
        row("a line printed before the paper moves", held + "H\n", printed + "H\n");
        row("the position asked for: no move, the line goes on",
            bytes("H\x1C(L\x02\x00\x30\x30H\n"), "HH\n");
    }
    void printsAlike()
    {
        QFETCH(QByteArray, document);
        QFETCH(QByteArray, alike);
        QFETCH(bool, same);
        const QImage picture = print(document).value(0);
        QVERIFY(!picture.isNull());
        QCOMPARE(picture == print(alike).value(0), same);
    }

    void codesReadBack_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QString>("read");
        const auto barcode = [](int m, int module, const QByteArray& data) {
            return QByteArray("\x1Dw") + char(module) + "\x1Dh\x50\x1D\x61\x01\x1Dk" + char(m) +
                   char(data.size()) + data;
        };
        const auto qr = [](int size, const QByteArray& data) {
            return bytes("\x1D(k\x03\x00\x31\x43") + char(size) + "\x1D(k" + char(data.size() + 3) +
                   bytes("\x00\x31P0") + data + bytes("\x1D(k\x03\x00\x31Q0");
        };
        QTest::newRow("EAN-13") << barcode(67, 2, "400638133393") << "EAN-13:4006381333931";
        QTest::newRow("EAN-8") << barcode(68, 3, "9638507") << "EAN-8:96385074";
        QTest::newRow("UPC-A") << barcode(65, 3, "03600029145") << "EAN-13:0036000291452";
        QTest::newRow("CODE39") << barcode(69, 2, "ABC-123") << "CODE-39:ABC-123";
        QTest::newRow("ITF") << barcode(70, 3, "12345678") << "I2/5:12345678";
        QTest::newRow("CODABAR") << barcode(71, 2, "A40156B") << "Codabar:A40156B";
        QTest::newRow("CODE93") << barcode(72, 2, "CODE 93") << "CODE-93:CODE 93";
        QTest::newRow("CODE128, set B") << barcode(73, 2, "{BHello 128") << "CODE-128:Hello 128";
        QTest::newRow("CODE128, set C, then B")
            << barcode(73, 3, "{C\x0C\x22\x38{BA{{") << "CODE-128:123456A{";
        QTest::newRow("QR Code, small")
            << qr(3, "https://example.invalid/r/1") << "QR-Code:https://example.invalid/r/1";
        QTest::newRow("QR Code, large")
            << qr(8, QByteArray(200, 'Q')) << "QR-Code:" + QString(200, u'Q');
    }
    void codesReadBack()
    {
        const QString reader = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        if (reader.isEmpty())
            QSKIP("zbarimg (zbar-tools) is not installed");
        QFETCH(QByteArray, document);
        QTemporaryDir directory;
        const QString file = directory.filePath(QStringLiteral("code.png"));
        QVERIFY(print(document).value(0).save(file));
        QProcess zbar;
        zbar.start(reader, {QStringLiteral("-q"), file});
        QVERIFY(zbar.waitForFinished(20000));
        QFETCH(QString, read);
        QCOMPARE(QString::fromUtf8(zbar.readAllStandardOutput()).trimmed(), read);
    }

    void tellsWhenAPictureIsNotWritten()
    {
        QString text;
        QTextStream out(&text);
        VirtualPrinterOutput output(out);
        output.setPicturesDirectory(QStringLiteral("/nonexistent"));
        output.end(output.begin(QStringLiteral("test")));
        QVERIFY2(text.contains("picture not written: /nonexistent/document-1.png"),
                 qPrintable(text));
    }

    void piecesAndUnknownCommands()
    {
        QByteArray clean("\x1B@\x1B!\x30TOTAL\n\x1B!\x00", 12);
        clean += QByteArray("\x1Dv0\x00\x02\x00\x08\x00", 8) + QByteArray(16, '\x5A');
        clean += bytes("\x1Dk\x49\x06{B1234\x1D(k\x07\x00\x31P0abcd\x1D(k\x03\x00\x31Q0");
        clean += "line\n";
        QByteArray noisy = clean;
        noisy.insert(noisy.indexOf("TOTAL"), "\x1D\xF0\x01\x02");
        noisy.insert(noisy.indexOf("line"), "\x1B\x7E\x03");
        const QImage whole = print(clean).value(0);
        QVERIFY(!whole.isNull());
        for (int piece : {1, 3, 7})
            QCOMPARE(print(noisy, "plain", piece).value(0), whole);
    }

    void longDocumentsInParts_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QList<int>>("heights");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("short") << QByteArray(10, '\n') << QList<int>{300}
                               << QStringList{"document-1.png"};
        QTest::newRow("at 2 m") << QByteArray(700, '\n') << QList<int>{16000, 5000}
                                << QStringList{"document-1-part-1.png", "document-1-part-2.png"};
        QTest::newRow("at the cut")
            << QByteArray(300, '\n') + "\x1Bi" + QByteArray(400, '\n') << QList<int>{9000, 12000}
            << QStringList{"document-1-part-1.png", "document-1-part-2.png"};
    }
    void longDocumentsInParts()
    {
        QFETCH(QByteArray, document);
        QFETCH(QList<int>, heights);
        QFETCH(QStringList, names);
        QStringList written;
        QList<int> sizes;
        for (const QImage& part : print(document, "plain", 0, &written))
            sizes << part.height();
        QCOMPARE(sizes, heights);
        QCOMPARE(written, names);
    }
};

QTEST_MAIN(TestPaperPicture)
#include "tst_paperpicture.moc"
