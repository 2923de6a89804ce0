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

// Who it is and that it is ready, to what the search asks.
std::string answer(std::string_view request)
{
    if (request == "\x1D\x49\x42")
        return std::string("_ACME\0", 6);
    if (request == "\x1D\x49\x43")
        return std::string("_LX-500\0", 8);
    return request.substr(0, 2) == "\x10\x04" ? "\x12" : "";
}

// Each address asked after a pause, so that a search of many lasts long enough to stop.
PrinterSearch::Settings slowly(std::uint16_t port, int pauseMs)
{
    return {[pauseMs] {
                std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
                return makeProbePort(300);
            },
            port, 2};
}

std::vector<std::uint32_t> ownAddresses()
{
    return {0x7F000001, 0x08080808};
}

} // namespace

// The search dialog on loopback: only 127.0.0.1 listens on the test's port, the rest refuse.
class TestPrinterSearch : public QObject
{
    Q_OBJECT

private slots:
    void findsAndChoosesAPrinter()
    {
        LoopbackPrinter printer(LoopbackPrinter::Reads, AF_INET, 0, answer);
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>{"Labels"}; });
        w.Combo1->setCurrentIndex(13); // DRIVER
        PrinterSearchDialog d(w.model(), slowly(printer.port(), 0), ownAddresses, &w);
        QCOMPARE(d.windowTitle(), QStringLiteral("Find printers on the network"));
        QCOMPARE(d.ranges->text(), QStringLiteral("127.0.0.0/24"));
        QVERIFY(d.findButton->isEnabled() && !d.stopButton->isEnabled() &&
                !d.useButton->isEnabled());
        d.ranges->setText(QStringLiteral("127.0.0.1-127.0.0.3"));
        QTest::mouseClick(d.findButton, Qt::LeftButton);
        QVERIFY(!d.findButton->isEnabled() && d.stopButton->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(d.findButton->isEnabled(), 10000);
        QCOMPARE(d.progress->value(), 3);
        QCOMPARE(d.progress->maximum(), 3);
        QCOMPARE(d.printers->topLevelItemCount(), 1);
        const QString address = "127.0.0.1:" + QString::number(printer.port());
        const QTreeWidgetItem* row = d.printers->topLevelItem(0);
        QCOMPARE((QStringList{row->text(0), row->text(1), row->text(2)}),
                 (QStringList{address, "ACME LX-500", "ready to print"}));
        QVERIFY(d.summary->text().startsWith("3 addresses tried, 1 took a connection"));
        QCOMPARE(w.model().foundPrinters().size(), std::size_t(1));

        d.printers->setCurrentItem(d.printers->topLevelItem(0));
        QTest::mouseClick(d.useButton, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(w.Combo1->currentText(), QStringLiteral("ETHERNET"));
        QCOMPARE(w.Text1->text(), address);
        QVERIFY(w.Text1->isEnabled());
        QVERIFY(sdk.calls.empty());
    }

    void theMenuOpensIt()
    {
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>(); });
        w.show();
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

    void stopsAndRefuses()
    {
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>(); });
        PrinterSearchDialog d(w.model(), slowly(9, 20), ownAddresses, &w);
        QStringList shown;
        MessageBoxMessages::setAnswerHook([&](QMessageBox& box) { shown << box.text(); });
        d.ranges->setText(QStringLiteral("127.0.0.1, 8.8.8.8"));
        QTest::mouseClick(d.findButton, Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].startsWith("\"8.8.8.8\" is outside"));
        QVERIFY(!d.stopButton->isEnabled());
        MessageBoxMessages::setAnswerHook({});

        d.ranges->setText(QStringLiteral("127.0.0.0/24"));
        QTest::mouseClick(d.findButton, Qt::LeftButton);
        QTRY_VERIFY(d.progress->value() > 0);
        QTest::mouseClick(d.stopButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(d.findButton->isEnabled(), 5000);
        QVERIFY(d.progress->value() < 20);
        QVERIFY(d.summary->text().startsWith("Stopped: "));

        // Closing while a search runs stops it and waits for it.
        QTest::mouseClick(d.findButton, Qt::LeftButton);
        QTest::mouseClick(d.closeButton, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QTest::qWait(100); // a progress queued before the close is dropped
    }
};

QTEST_MAIN(TestPrinterSearch)
#include "tst_printersearch.moc"
