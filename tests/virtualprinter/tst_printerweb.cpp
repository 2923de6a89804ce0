#include "DocumentGallery.h"
#include "PrinterWebPage.h"

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

// A printer that hands each document's end to a gallery, with a red picture when asked.
struct GalleryPrinter {
    explicit GalleryPrinter(bool withPicture = false)
    {
        output.onDocumentEnded(
            [this, withPicture](const VirtualPrinterOutput::EndedDocument& ended) {
                const QByteArray png = withPicture ? redPicture() : QByteArray();
                gallery.documentEnded("127.0.0.1:9100", ended, {{{}, png}});
            },
            DocumentGallery::KeptLines, DocumentGallery::KeptCharacters);
    }
    void print(const QList<QByteArray>& pieces)
    {
        const int number = output.begin(QStringLiteral("sender"));
        for (const QByteArray& piece : pieces)
            output.take(number, piece);
        output.end(number);
    }
    static QByteArray redPicture()
    {
        QImage image(240, 120, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        image.save(&buffer, "PNG");
        return png;
    }

    QString sink;
    QTextStream out{&sink};
    VirtualPrinterOutput output{out};
    DocumentGallery gallery;
};

VirtualPrinterOutput::EndedDocument ended(QStringList lines)
{
    return {1, QStringLiteral("127.0.0.1:5000"), std::move(lines), 0, QStringLiteral("held")};
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
    socket.write(request.left(request.size() / 2)); // in two pieces, as a slow client sends
    QTest::qWait(20);
    socket.write(request.mid(request.size() / 2));
    QByteArray response;
    for (QDeadlineTimer bound(5000); !bound.hasExpired() && socket.isOpen();) {
        QTest::qWait(10);
        response += socket.readAll();
        const qsizetype head = response.indexOf("\r\n\r\n");
        const qsizetype length = response.indexOf("Content-Length: ");
        if (head > 0 && length > 0 &&
            response.size() >= head + 4 + response.mid(length + 16).split('\r')[0].toInt())
            break;
    }
    return response;
}

} // namespace

class TestPrinterWeb : public QObject
{
    Q_OBJECT
private slots:
    void keepsTheBeginningWithinBounds_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("lineLength");
        QTest::addColumn<int>("kept");
        QTest::addColumn<bool>("printerLeavesOut"); // its lines are two a piece, of 40 or 220
        QTest::addRow("few") << 3 << 10 << 3 << false;
        QTest::addRow("lines") << DocumentGallery::KeptLines + 7 << 10 << DocumentGallery::KeptLines
                               << true;
        QTest::addRow("characters")
            << 300 << 1000 << DocumentGallery::KeptCharacters / 1000 << true;
        QTest::addRow("one long line") << 1 << DocumentGallery::KeptCharacters + 1 << 0 << false;
    }
    void keepsTheBeginningWithinBounds()
    {
        QFETCH(int, lineCount);
        QFETCH(int, lineLength);
        QFETCH(int, kept);
        QFETCH(bool, printerLeavesOut);
        // Told the lines at once, or printed by the printer, which keeps no more than the page.
        GalleryPrinter printer;
        printer.print(QList<QByteArray>(lineCount, "\x1b@" + QByteArray(lineLength / 4, 'x')));
        printer.gallery.documentEnded("127.0.0.1:9100",
                                      ended(QStringList(lineCount, QString(lineLength, 'x'))));
        const auto json = nlohmann::json::parse(printer.gallery.updates(0));
        const auto& told = json["printers"][0]["documents"];
        QCOMPARE(int(told[0]["lines"].size()), kept);
        QCOMPARE(told[0]["linesLeftOut"].get<int>(), lineCount - kept);
        QCOMPARE(told[1]["lines"].size() + told[1]["linesLeftOut"].get<std::size_t>(),
                 std::size_t(printer.sink.count("\n  "))); // each line kept or counted
        QCOMPARE(told[1]["linesLeftOut"] > 0, printerLeavesOut);
    }

    void keepsTheNewestDocumentsEscaped()
    {
        DocumentGallery gallery;
        QTemporaryDir dir;
        QFile file(dir.filePath("document-1.png"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("PNG file") > 0);
        file.close();
        const int total = DocumentGallery::KeptDocuments + 2;
        for (int i = 1; i <= total; ++i)
            gallery.documentEnded("a", ended({QStringLiteral("<script>%1</script>").arg(i)}));
        QVERIFY(gallery.addPictures(total, {{file.fileName(), {}}, {{}, "PNG"}}));
        QVERIFY(!gallery.addPictures(1, {{{}, "gone"}}));
        QVERIFY(
            gallery.addPictures(3, {{{}, QByteArray(DocumentGallery::KeptPictureBytes + 1, 'x')}}));
        gallery.documentEnded("b", ended({QStringLiteral("& \"\\")}));

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
        QCOMPARE(a["documents"][0]["pictures"].size(), 2u);
        QCOMPARE(text(a["documents"][0]["pictures"][1]), "/documents/52/picture-1.png");
        QCOMPARE(text(json["printers"][1]["documents"][0]["lines"][0]), "& \"\\");
        QCOMPARE(gallery.picture(total, 0), std::optional(QByteArray("PNG file")));
        QCOMPARE(gallery.picture(total, 1), std::optional(QByteArray("PNG")));
        QVERIFY(!gallery.picture(total, 2) && !gallery.picture(1, 0) &&
                !gallery.picture(total, -1));
        QVERIFY(!gallery.picture(3, 0)); // too large to keep
        QVERIFY(file.remove() && !gallery.picture(total, 0));
        for (int i = 1; i < DocumentGallery::KeptPrinters; ++i)   // the printer seen least lately
            gallery.documentEnded(QString::number(i), ended({})); // gives way
        QCOMPARE(text(nlohmann::json::parse(gallery.updates(0))["printers"][0]["name"]), "b");
    }

    void answersOnlyWhatItServes_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer"); // the status, then what the answer holds
        const auto row = [](const char* name, const QByteArray& request, const char* answer) {
            QTest::addRow("%s", name) << request << QByteArray(answer);
        };
        const QByteArray end = " HTTP/1.1\r\nHost: 127.0.0.1:1\r\n\r\n";
        row("page", "GET /" + end, "200 /page.js");
        row("script", "GET /page.js" + end, "200 textContent");
        row("updates", "GET /updates.json?after=0" + end, "200 \\u003cb\\u003e");
        row("picture", "GET /documents/1/picture-0.png" + end, "200 image/png");
        row("no picture", "GET /documents/1/picture-1.png" + end, "404 plain");
        row("bad after", "GET /updates.json?after=x" + end, "400 plain");
        row("other path", "GET /etc/passwd" + end, "404 plain");
        row("post", "POST /" + end, "405 plain");
        row("by localhost", "GET /page.js HTTP/1.1\r\nHost: localhost\r\n\r\n", "200 poll");
        row("by another name", "GET /updates.json HTTP/1.1\r\nHost: a.example\r\n\r\n",
            "403 plain");
        row("post script", "POST /page.js" + end, "405 plain");
        row("post updates", "POST /updates.json" + end, "405 plain");
        row("post picture", "POST /documents/1/picture-0.png" + end, "405 plain");
        row("bare line feeds", "\r\nGET /page.js HTTP/1.0\n\n", "200 textContent");
        row("endless header", "GET / HTTP/1.1\r\nX: " + QByteArray(20000, 'a'), "413 plain");
        row("garbage", "\x01\x02 nonsense\r\n\r\n", "400 plain");
        row("http 9", "GET / HTTP/9.9\r\n\r\n", "400 plain");
        row("body", "GET / HTTP/1.1\r\nContent-Length: 9\r\n\r\n", "413 plain");
        row("endless head", "GET /" + QByteArray(20000, 'a'), "413 plain");
    }
    void answersOnlyWhatItServes()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        DocumentGallery gallery;
        gallery.addPictures(gallery.documentEnded("p", ended({"<b>"})), {{{}, "PNG"}});
        PrinterWebPage page(gallery);
        QString failure;
        QVERIFY2(page.listen(QStringLiteral("127.0.0.1"), 0, failure), qPrintable(failure));
        const quint16 port = QUrl(page.address()).port();
        const QByteArray response = ask(port, request);
        QVERIFY2(response.startsWith("HTTP/1.1 " + answer.left(3)), response.left(200).data());
        QVERIFY(response.contains(answer.mid(4)));
        QVERIFY(ask(port, "GET / HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200")); // and goes on
        QVERIFY(!page.listen(QStringLiteral("127.0.0.1"), port, failure) &&
                failure.contains("cannot"));
    }

    void holdsFewConnectionsForLittleTime()
    {
        DocumentGallery gallery;
        PrinterWebPage page(gallery, 1000);
        QString failure;
        QVERIFY2(page.listen(QStringLiteral("127.0.0.1"), 0, failure), qPrintable(failure));
        const quint16 port = QUrl(page.address()).port();
        std::vector<std::unique_ptr<QTcpSocket>> held(PrinterWebPage::MostConnections + 1);
        for (auto& socket : held) {
            socket = std::make_unique<QTcpSocket>();
            socket->connectToHost(QHostAddress::LocalHost, port);
        }
        QTRY_VERIFY(held.back()->state() == QAbstractSocket::UnconnectedState); // one too many
        QVERIFY(held[PrinterWebPage::MostConnections - 1]->state() ==
                QAbstractSocket::ConnectedState);
        QTRY_VERIFY(held.front()->state() == QAbstractSocket::UnconnectedState); // idle, closed
    }

    void browserShowsDocumentsAsTheyArrive()
    {
        const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium.isEmpty())
            QSKIP("chromium is not installed: the page is not tried in a browser");
        GalleryPrinter printer(true);
        printer.print({"first\n"});
        PrinterWebPage page(printer.gallery);
        QString failure;
        QVERIFY2(page.listen(QStringLiteral("127.0.0.1"), 0, failure), qPrintable(failure));
        // The second document arrives once the page has asked for what is new.
        connect(&page, &PrinterWebPage::answered, this, [&](const QString& path) {
            if (path == "/updates.json" && printer.gallery.latest() == 1)
                printer.print({"<script>document.title='run'</script>\n"});
        });
        QTemporaryDir profile;
        const auto browse = [&](const QString& what) {
            QProcess browser;
            browser.start(chromium, {"--headless=new", "--no-sandbox", "--disable-gpu",
                                     "--user-data-dir=" + profile.path(), "--window-size=900,1200",
                                     "--virtual-time-budget=4000", what, page.address()});
            // The page's server is this test's own: it answers while the browser runs.
            for (QDeadlineTimer bound(60000);
                 browser.state() != QProcess::NotRunning && !bound.hasExpired();)
                QTest::qWait(20);
            browser.kill();
            browser.waitForFinished(5000);
            return browser.readAllStandardOutput();
        };
        const QByteArray dom = browse("--dump-dom");
        QVERIFY2(dom.contains("text \"&lt;script&gt;document.title='run'&lt;/script&gt;\""),
                 dom.constData());
        QVERIFY(dom.contains("text \"first\"") && !dom.contains("<title>run"));
        QVERIFY(dom.indexOf("Document 2") < dom.indexOf("Document 1")); // newest first
        browse("--screenshot=" + profile.filePath("page.png"));
        const QImage shot(profile.filePath("page.png"));
        int red = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                red += shot.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        QVERIFY2(red >= 2 * 240 * 120 * 9 / 10, qPrintable(QString::number(red))); // both pictures
    }
};

QTEST_GUILESS_MAIN(TestPrinterWeb)
#include "tst_printerweb.moc"
