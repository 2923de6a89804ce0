#include "LoopbackPrinter.h"
#include "VirtualPrinterFleet.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <nlohmann/json.hpp>

namespace
{

bool waitFor(QProcess& process, const char* text)
{
    QByteArray seen;
    const QDeadlineTimer deadline(10000);
    while (!seen.contains(text) && !deadline.hasExpired() &&
           process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(100);
        seen += process.readAllStandardOutput();
    }
    return seen.contains(text);
}

} // namespace

// Many virtual printers in one process, each on an address of its own.
class TestVirtualPrinterFleet : public QObject
{
    Q_OBJECT

private slots:
    void readsListenPlaces_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("said"); // count, first and last place; or the refusal
        const auto row = [](const char* name, const QStringList& texts, const QString& said) {
            QTest::newRow(name) << texts << said;
        };
        const QString tooMany = "at most 4096 printers in one process",
                      needsPort = " needs a port from 1 to 65535 after the addresses";
        row("port", {"9100"}, "1 127.0.0.1:9100 127.0.0.1:9100");
        row("dash range", {"127.0.0.2-127.0.0.201:9100"}, "200 127.0.0.2:9100 127.0.0.201:9100");
        row("block, default port", {"127.0.1.0/30"}, "2 127.0.1.1:9100 127.0.1.2:9100");
        row("commas and repeats", {"127.0.0.2-127.0.0.3:9300,9101", "printer.lan:9"},
            "4 127.0.0.2:9300 printer.lan:9");
        row("backwards", {"127.0.0.3-127.0.0.2:9100"},
            "\"127.0.0.3-127.0.0.2\" is not an address range: the range ends before it starts");
        row("too many", {"127.0.0.0/19:9100"}, tooMany);
        row("too many singles", {"127.0.0.0-127.0.15.255:9100", "9100"}, tooMany);
        row("bad port", {"127.0.0.2-127.0.0.3:x"}, "\"127.0.0.2-127.0.0.3:x\"" + needsPort);
        row("port 0", {"127.0.0.2-127.0.0.3:0"}, "\"127.0.0.2-127.0.0.3:0\"" + needsPort);
    }
    void readsListenPlaces()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, said);
        QString refusal;
        const std::vector<ListenPlace> places = readListenPlaces(texts, refusal);
        const auto shown = [](const ListenPlace& p) {
            return p.host + ':' + QString::number(p.port);
        };
        QCOMPARE(places.empty() ? refusal
                                : QStringLiteral("%1 %2 %3")
                                      .arg(places.size())
                                      .arg(shown(places.front()), shown(places.back())),
                 said);
        QVERIFY(!readListenPlaces({"a:b:c"}, refusal).empty() || !refusal.isEmpty());
    }

    void countsSerials_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("serial");
        QTest::newRow("first keeps it") << "VP-0001" << 0 << "VP-0001";
        QTest::newRow("counted on") << "VP-0001" << 199 << "VP-0200";
        QTest::newRow("wider") << "S99" << 1 << "S100";
        QTest::newRow("no number") << "XY" << 1 << "XY-2";
    }
    void countsSerials()
    {
        QFETCH(QString, base);
        QFETCH(int, index);
        QFETCH(QString, serial);
        QCOMPARE(fleetSerial(base, index), serial);
    }

    // Each printer keeps what it was sent and says who it is; the file tells every printer.
    void eachPrinterHoldsItsOwnSettings()
    {
        const QString port = QString::number(LoopbackPrinter().port());
        QTemporaryDir dir;
        const QString json = dir.filePath("settings.json");
        QProcess printer;
        printer.start(BLACKMARK_PRINTER, {"--listen", "127.0.0.2-127.0.0.4:" + port,
                                          "--settings-json", json, "--identity", "A;B;1;S-07"});
        QVERIFY(waitFor(printer, "127.0.0.4"));
        const auto cli = [&](const QString& host, const QStringList& words) {
            QProcess run;
            run.start(BLACKMARK_CLI, QStringList{"--ip", host + ':' + port} + words);
            run.waitForFinished(10000);
            return QString::number(run.exitCode()) + ' ' + run.readAllStandardOutput();
        };
        QCOMPARE(cli("127.0.0.3", {"layout", "black-mark", "--pitch", "100"}), "0 ");
        QCOMPARE(cli("127.0.0.4", {"identify"}),
                 "0 maker A, model B, firmware 1, serial S-09, autocutter yes\n");
        printer.terminate();
        QVERIFY(printer.waitForFinished(10000));
        const nlohmann::json written = nlohmann::json::parse(std::ifstream(json.toStdString()));
        std::string held; // each printer's serial, documents and paper pitch
        for (const nlohmann::json& p : written.at("printers")) {
            const nlohmann::json& layout = p["settings"]["paperLayout"];
            held += p["serial"].get<std::string>() + ' ' + p["documents"].dump() + ' ' +
                    (layout.is_null() ? "none" : layout["pitch"].dump()) + ';';
        }
        QCOMPARE(held, "S-07 0 none;S-08 1 100.0;S-09 1 none;");
    }

    // A slow printer answers the first question only after the command line's bound.
    void delayHoldsTheAnswers()
    {
        const QString port = QString::number(LoopbackPrinter().port());
        QProcess printer;
        printer.start(BLACKMARK_PRINTER, {"--listen", port, "--delay", "3000", "--settings-json",
                                          "/nonexistent/settings.json"});
        QVERIFY(waitFor(printer, "listening"));
        QProcess run;
        run.start(BLACKMARK_CLI, {"--ip", "127.0.0.1:" + port, "status"});
        QVERIFY(run.waitForFinished(10000));
        QVERIFY(run.readAllStandardOutput().contains("not answered: printer status"));
        // The settings that cannot be written are told, with the exit code.
        printer.terminate();
        QVERIFY(printer.waitForFinished(10000));
        QCOMPARE(printer.exitCode(), 1);
        QVERIFY(printer.readAllStandardError().startsWith("blackmark-printer: write "));
    }
};

QTEST_GUILESS_MAIN(TestVirtualPrinterFleet)
#include "tst_virtualprinterfleet.moc"
