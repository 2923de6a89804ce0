#include "DocumentGallery.h"
#include "PrinterWebPage.h"
#include "VirtualPrinterOutput.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <nlohmann/json.hpp>

// The page of the documents received: what it keeps, what it answers, what a browser shows.
namespace
{

DocumentGallery::Document document(const QString& printer, QStringList lines)
{
    return {printer,
            1,
            QStringLiteral("127.0.0.1:5000"),
            std::move(lines),
            0,
            QStringLiteral("settings: held"),
            {}};
}

QByteArray redPicture()
{
    QImage image(240, 120, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    image.save(&buffer, "PNG");
    return png;
}

QString text(const nlohmann::json& value)
{
    return QString::fromStdString(value.get<std::string>());
}

// One request on a connection of its own; the response as far as it came within a bound.
QByteArray ask(quint16 port, const QByteArray& request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request);
    QByteArray response;
    QDeadlineTimer bound(5000);
    while (!bound.hasExpired() && socket.state() != QAbstractSocket::UnconnectedState) {
        QTest::qWait(10);
        response += socket.readAll();
        const qsizetype head = response.indexOf("\r\n\r\n");
        const qsizetype length = response.indexOf("Content-Length: ");
        if (head > 0 && length > 0 &&
            response.size() >= head + 4 + response.mid(length + 16).split('\r')[0].toInt())
            break;
    }
    return response + socket.readAll();
}

} // namespace

class TestPrinterWeb : public QObject
{
    Q_OBJECT
private slots:
    void keepsTheBeginningWithinBounds_data();
    void keepsTheBeginningWithinBounds();
    void keepsTheNewestDocumentsEscaped();
    void answersOnlyWhatItServes_data();
    void answersOnlyWhatItServes();
    void browserShowsDocumentsAsTheyArrive();
};

void TestPrinterWeb::keepsTheBeginningWithinBounds_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("lineLength");
    QTest::addColumn<int>("kept");
    QTest::addRow("few") << 3 << 10 << 3;
    QTest::addRow("lines bound") << DocumentGallery::KeptLines + 7 << 10
                                 << DocumentGallery::KeptLines;
    QTest::addRow("characters bound") << 100 << 1000 << DocumentGallery::KeptCharacters / 1000;
    QTest::addRow("one long line") << 1 << DocumentGallery::KeptCharacters + 1 << 0;
}

void TestPrinterWeb::keepsTheBeginningWithinBounds()
{
    QFETCH(int, lineCount);
    QFETCH(int, lineLength);
    QFETCH(int, kept);
    for (const bool throughOutput : {false, true}) {
        DocumentGallery gallery;
        const QStringList lines(lineCount, QString(lineLength, QLatin1Char('x')));
        if (throughOutput) { // the printer holds no more than the page keeps
            QString sink;
            QTextStream out(&sink);
            VirtualPrinterOutput output(out);
            output.onDocumentEnded(
                [&](const VirtualPrinterOutput::EndedDocument& ended) {
                    gallery.documentEnded({"p",
                                           ended.number,
                                           ended.from,
                                           ended.lines,
                                           ended.linesLeftOut,
                                           ended.settings,
                                           {}});
                },
                DocumentGallery::KeptLines, DocumentGallery::KeptCharacters);
            const int number = output.begin(QStringLiteral("sender"));
            for (const QString& line : lines)
                output.take(number, QString("\x1b\x40" + line).toLatin1().left(2));
            output.end(number);
        } else {
            gallery.documentEnded(document("p", lines));
        }
        const auto json = nlohmann::json::parse(gallery.updates(0));
        const auto& shown = json["printers"][0]["documents"][0];
        if (throughOutput) { // each ESC @ is one line of the decoder's
            QVERIFY(int(shown["lines"].size()) + shown["linesLeftOut"].get<int>() == lineCount);
            continue;
        }
        QCOMPARE(int(shown["lines"].size()), kept);
        QCOMPARE(shown["linesLeftOut"].get<int>(), lineCount - kept);
    }
}

void TestPrinterWeb::keepsTheNewestDocumentsEscaped()
{
    DocumentGallery gallery;
    QTemporaryDir dir;
    QFile file(dir.filePath("document-1.png"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(redPicture()) > 0);
    file.close();
    const int total = DocumentGallery::KeptDocuments + 2;
    for (int i = 1; i <= total; ++i)
        gallery.documentEnded(document("a", {QStringLiteral("<script>%1</script>").arg(i)}));
    QVERIFY(gallery.addPictures(total, {{file.fileName(), {}}, {{}, "PNG"}}));
    QVERIFY(!gallery.addPictures(1, {{{}, "gone"}}));
    gallery.documentEnded(document("b", {QStringLiteral("& \"\\")}));

    const std::string updates = gallery.updates(total - 1);
    QVERIFY(updates.find('<') == std::string::npos && updates.find('&') == std::string::npos);
    const auto json = nlohmann::json::parse(updates);
    QCOMPARE(json["latest"].get<int>(), total + 1);
    const auto& a = json["printers"][0];
    QCOMPARE(int(a["kept"].size()), DocumentGallery::KeptDocuments);
    QCOMPARE(a["kept"][0].get<int>(), total); // newest first
    QCOMPARE(a["kept"].back().get<int>(), 3); // the oldest gave way
    QCOMPARE(int(a["documents"].size()), 1);  // only what is new since `after`
    QCOMPARE(text(a["documents"][0]["lines"][0]), "<script>52</script>");
    QCOMPARE(text(a["documents"][0]["pictures"][1]), "/documents/52/picture-1.png");
    QCOMPARE(text(json["printers"][1]["documents"][0]["lines"][0]), "& \"\\");
    QCOMPARE(gallery.picture(total, 0), std::optional(redPicture()));
    QCOMPARE(gallery.picture(total, 1), std::optional(QByteArray("PNG")));
    QVERIFY(!gallery.picture(total, 2) && !gallery.picture(1, 0) && !gallery.picture(total, -1));
    QVERIFY(file.remove() && !gallery.picture(total, 0));
}

void TestPrinterWeb::answersOnlyWhatItServes_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("holds");
    const QByteArray end = " HTTP/1.1\r\nHost: x\r\n\r\n";
    QTest::addRow("page") << "GET /" + end << QByteArray("200") << QByteArray("/page.js");
    QTest::addRow("script") << "GET /page.js" + end << QByteArray("200")
                            << QByteArray("textContent");
    QTest::addRow("updates") << "GET /updates.json?after=0" + end << QByteArray("200")
                             << QByteArray("\\u003cb\\u003e");
    QTest::addRow("picture") << "GET /documents/1/picture-0.png" + end << QByteArray("200")
                             << QByteArray("image/png");
    QTest::addRow("no picture") << "GET /documents/1/picture-1.png" + end << QByteArray("404")
                                << QByteArray();
    QTest::addRow("bad after") << "GET /updates.json?after=x" + end << QByteArray("400")
                               << QByteArray();
    QTest::addRow("other path") << "GET /etc/passwd" + end << QByteArray("404") << QByteArray();
    QTest::addRow("post") << "POST /" + end << QByteArray("405") << QByteArray();
    QTest::addRow("garbage") << QByteArray("\x01\x02 nonsense\r\n\r\n") << QByteArray("400")
                             << QByteArray("plain");
    QTest::addRow("http 9") << QByteArray("GET / HTTP/9.9\r\n\r\n") << QByteArray("400")
                            << QByteArray();
    QTest::addRow("body") << QByteArray("GET / HTTP/1.1\r\nContent-Length: 9\r\n\r\n")
                          << QByteArray("413") << QByteArray();
    QTest::addRow("endless head") << "GET /" + QByteArray(20000, 'a') << QByteArray("413")
                                  << QByteArray();
}

void TestPrinterWeb::answersOnlyWhatItServes()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, holds);
    DocumentGallery gallery;
    gallery.documentEnded(document("p", {QStringLiteral("<b>")}));
    gallery.addPictures(1, {{{}, "PNG"}});
    PrinterWebPage page(gallery);
    QString failure;
    QVERIFY2(page.listen(QStringLiteral("127.0.0.1"), 0, failure), qPrintable(failure));
    const quint16 port = QUrl(page.address()).port();
    const QByteArray response = ask(port, request);
    QVERIFY2(response.startsWith("HTTP/1.1 " + status), response.left(200).constData());
    QVERIFY(response.contains(holds));
    QVERIFY(ask(port, "GET / HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200")); // and goes on
    QVERIFY(!page.listen(QStringLiteral("127.0.0.1"), port, failure) && failure.contains("cannot"));
}

void TestPrinterWeb::browserShowsDocumentsAsTheyArrive()
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        QSKIP("chromium is not installed: the page is not tried in a browser");
    DocumentGallery gallery;
    QString sink;
    QTextStream out(&sink);
    VirtualPrinterOutput output(out);
    output.onDocumentEnded(
        [&](const VirtualPrinterOutput::EndedDocument& ended) {
            const quint64 id = gallery.documentEnded(
                {"127.0.0.1:9100", ended.number, ended.from, ended.lines, 0, ended.settings, {}});
            gallery.addPictures(id, {{{}, redPicture()}});
        },
        DocumentGallery::KeptLines, DocumentGallery::KeptCharacters);
    const auto print = [&](const QByteArray& bytes) {
        const int number = output.begin(QStringLiteral("sender"));
        output.take(number, bytes);
        output.end(number);
    };
    print("first\n");
    PrinterWebPage page(gallery);
    QString failure;
    QVERIFY2(page.listen(QStringLiteral("127.0.0.1"), 0, failure), qPrintable(failure));
    // The second document arrives once the page has asked for what is new.
    connect(&page, &PrinterWebPage::answered, this, [&](const QString& path) {
        if (path == "/updates.json" && gallery.latest() == 1)
            print("<script>document.title='run'</script>\n");
    });
    QTemporaryDir profile;
    const auto browse = [&](const QStringList& what) {
        QProcess browser;
        browser.start(chromium,
                      QStringList{"--headless=new", "--no-sandbox", "--disable-gpu",
                                  "--user-data-dir=" + profile.path(), "--virtual-time-budget=4000",
                                  "--window-size=900,1200"} +
                          what + QStringList{page.address()});
        // The page's server is this test's own: it answers while the browser runs.
        const QDeadlineTimer bound(60000);
        while (browser.state() != QProcess::NotRunning && !bound.hasExpired())
            QTest::qWait(20);
        browser.kill();
        browser.waitForFinished(5000);
        return browser.readAllStandardOutput();
    };
    const QByteArray dom = browse({"--dump-dom"});
    QVERIFY2(dom.contains("text \"&lt;script&gt;document.title='run'&lt;/script&gt;\""),
             dom.constData());
    QVERIFY(dom.contains("text \"first\"") && !dom.contains("<title>run"));
    QVERIFY(dom.indexOf("Document 2") < dom.indexOf("Document 1")); // newest first
    browse({"--screenshot=" + profile.filePath("page.png")});
    const QImage shot(profile.filePath("page.png"));
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            red += shot.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
    QVERIFY2(red >= 2 * 240 * 120 * 9 / 10, qPrintable(QString::number(red))); // both pictures
}

QTEST_GUILESS_MAIN(TestPrinterWeb)
#include "tst_printerweb.moc"
