#include "FrmTest.h"
#include "LoopbackPrinter.h"
#include "PrinterSearchDialog.h"
#include "ProbePort.h"
#include "RecordingPrinterSdk.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace
{

// Each address asked after a pause, so that a search of many lasts long enough to stop.
PrinterSearch::Settings slowly(std::uint16_t port, int pauseMs)
{
    const auto makePort = [pauseMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        return makeProbePort(300);
    };
    return {makePort, port, 2};
}

} // namespace

// The search dialog on loopback: only 127.0.0.1 listens on the test's port, the rest refuse.
class TestPrinterSearch : public QObject
{
    Q_OBJECT

private slots:
    void findsAndChoosesAPrinter()
    {
        // Ready, to each status request; nothing else answered.
        LoopbackPrinter printer(LoopbackPrinter::Reads, AF_INET, 0, [](std::string_view asked) {
            return asked[0] == 0x10 ? "\x12" : "";
        });
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>{"Labels"}; });
        w.Combo1->setCurrentIndex(13); // DRIVER
        const auto own = [] { return std::vector<std::uint32_t>{0x7F000001, 0x08080808}; };
        PrinterSearchDialog d(w.model(), slowly(printer.port(), 0), own, &w);
        QCOMPARE(d.ranges->text(), QStringLiteral("127.0.0.0/24"));
        d.ranges->setText(QStringLiteral("127.0.0.1-127.0.0.3"));
        QTest::mouseClick(d.findButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(d.findButton->isEnabled(), 10000);
        QVERIFY(d.progress->value() == 3 && d.progress->maximum() == 3);
        QCOMPARE(d.printers->topLevelItemCount(), 1);
        const QString address = "127.0.0.1:" + QString::number(printer.port());
        const QTreeWidgetItem* row = d.printers->topLevelItem(0);
        QCOMPARE((QStringList{row->text(0), row->text(1), row->text(2)}),
                 (QStringList{address, "", "ready to print"}));
        QVERIFY(d.summary->text().startsWith("3 addresses tried, 1 took a connection"));

        QTest::mouseClick(d.useButton, Qt::LeftButton); // the first row is selected
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("ETHERNET"));
        QCOMPARE(w.Text1->text(), address);
        QVERIFY(w.Text1->isEnabled() && sdk.calls.empty());
    }

    void theMenuOpensIt()
    {
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>(); });
        QString title;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                title = dialog->windowTitle();
                dialog->reject();
            }
        });
        w.runMenu(MenuCommand::FindPrinters);
        QCOMPARE(title, QStringLiteral("Find printers on the network"));
    }

    void stopsAndCloses()
    {
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>(); });
        PrinterSearchDialog d(
            w.model(), slowly(9, 20), [] { return std::vector<std::uint32_t>(); }, &w);
        d.ranges->setText(QStringLiteral("127.0.0.0/24"));
        QTest::mouseClick(d.findButton, Qt::LeftButton);
        QTRY_VERIFY(d.progress->value() > 0);
        QTest::mouseClick(d.stopButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(d.findButton->isEnabled(), 5000);
        QVERIFY(d.progress->value() < 20);
        QTest::mouseClick(d.closeButton, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestPrinterSearch)
#include "tst_printersearch.moc"
