#include "PaperPreview.h"
#include "PrintedPictures.h"

#include <QImage>
#include <QTest>

namespace
{

// The picture the virtual printer draws of `document` on `roll`, one pixel a dot.
QImage picture(const PaperRoll& roll, const std::string& document)
{
    const QList<QImage> pictures =
        printedPictures(roll, QByteArrayView(document.data(), qsizetype(document.size())));
    return pictures.size() == 1 ? pictures[0] : QImage();
}

// Down one margin of the paper, each dot's colour as the picture marks the geometry: cuts two
// dots of red centred on the cut, print starts three of blue in the right margin, marks black
// in the left one, label edges a grey dot on each side of the gap.
QList<QRgb> marginDots(const PaperPreview::Geometry& geometry, bool right, int rows)
{
    QList<QRgb> dots(rows, qRgb(255, 255, 255));
    const auto paint = [&dots](int from, int to, QRgb colour) {
        for (int y = std::max(0, from); y < std::min<int>(to, int(dots.size())); ++y)
            dots[y] = colour;
    };
    for (const PaperRoll::Span& mark : geometry.marks) {
        if (geometry.roll.kind == PaperRoll::Kind::Label) {
            paint(mark.from, mark.from + 1, qRgb(160, 160, 160));
            paint(mark.to - 1, mark.to, qRgb(160, 160, 160));
        } else if (!right) {
            paint(mark.from, mark.to, qRgb(0, 0, 0));
        }
    }
    for (const int at : geometry.printStarts)
        if (right)
            paint(at, at + 3, qRgb(0, 0, 255));
    for (const int at : geometry.cuts)
        paint(at - 1, at + 1, qRgb(255, 0, 0));
    return dots;
}

QList<QRgb> column(const QImage& picture, int x)
{
    QList<QRgb> dots;
    for (int y = 0; y < picture.height(); ++y)
        dots << picture.pixel(x, y);
    return dots;
}

} // namespace

class TestPaperPreview : public QObject
{
    Q_OBJECT

private slots:
    // The preview's marks, print starts and cuts fall where the virtual printer puts them.
    void geometryAsThePrinterMovesThePaper_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("paper");      // pitch, length, width
        QTest::addColumn<QStringList>("boxes");  // Text2 rows 2 to 5, edited in that order
        QTest::addColumn<QStringList>("layout"); // kind, print start, cut, bottom
        const auto row = [](const char* name, PaperRoll::Kind kind, const char* paper,
                            QStringList boxes, QStringList layout = {}) {
            QTest::newRow(name) << int(kind) << paper << boxes << layout;
        };
        using Kind = PaperRoll::Kind;
        row("marks, fed", Kind::BlackMark, "40 4 80", {"2", "", "12", ""});
        row("marks, start backfed", Kind::BlackMark, "40 4 80", {"", "6", "12", ""});
        row("marks, cut backfed", Kind::BlackMark, "40 4 80", {"2", "", "", "2"});
        row("a line that ends at the mark", Kind::BlackMark, "40 4 80", {"", "3.75", "0", ""});
        row("labels on 58 mm", Kind::Label, "30 3 58", {"1.5", "", "3", ""});
        row("plain paper", Kind::Plain, "1 0.5 80", {"2", "", "2", ""});
        row("layout, die-cut labels", Kind::Label, "40 3 80", {}, {"1", "-2.5", "3", ""});
        row("layout, marked paper", Kind::BlackMark, "50 5 80", {}, {"3", "1.3", "-0.7", "2"});
        row("layout, none", Kind::BlackMark, "50 5 80", {}, {"0", "1", "2", ""});
    }
    void geometryAsThePrinterMovesThePaper()
    {
        QFETCH(int, kind);
        QFETCH(QString, paper);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, layout);
        PaperLayoutValues values;
        PaperPreview preview(values);
        const QStringList sizes = paper.split(u' ');
        preview.paper = {PaperRoll::Kind(kind), sizes[0].toStdString(), sizes[1].toStdString(),
                         sizes[2].toStdString()};
        for (int i = 0; i < boxes.size(); ++i)
            if (!boxes[i].isEmpty())
                preview.boxEdited(2 + i, boxes[i].toStdString());
        if (!layout.isEmpty()) {
            preview.source = PaperPreview::Source::PaperLayoutDialog;
            values.kind = PaperLayout::Kind(layout[0].toLatin1()[0]);
            values.printStart = layout[1].toStdString();
            values.cut = layout[2].toStdString();
            values.bottom = layout[3].toStdString();
        }
        const PaperPreview::Geometry geometry = preview.geometry();
        QVERIFY2(geometry.problem.empty(), geometry.problem.c_str());
        QCOMPARE(geometry.cuts.size(), size_t(PaperPreview::Labels));
        const QImage printed = picture(geometry.roll, preview.document());
        QCOMPARE(printed.width(), geometry.roll.widthDots());
        QVERIFY(printed.height() > geometry.cuts.back());
        QVERIFY(printed.height() <= geometry.length);
        QCOMPARE(column(printed, 2), marginDots(geometry, false, printed.height()));
        QCOMPARE(column(printed, printed.width() - 2),
                 marginDots(geometry, true, printed.height()));
    }
};

QTEST_MAIN(TestPaperPreview)
#include "tst_paperpreview.moc"
