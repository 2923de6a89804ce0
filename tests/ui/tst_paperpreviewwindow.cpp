#include "FrmTest.h"
#include "PaperPreviewWindow.h"
#include "RecordingPrinterSdk.h"

#include <QTest>

// View ▸ Paper preview… on Qt: there, fed by the window's boxes as they are typed, sending
// nothing. What it draws is the preview model's, tested with the core.
class TestPaperPreviewWindow : public QObject
{
    Q_OBJECT

private slots:
    void followsTheBoxes()
    {
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>{}; });
        w.show();
        w.Text2[5]->setText(QStringLiteral("2")); // typed before the preview is opened
        w.runMenu(MenuCommand::PaperPreview);
        PaperPreviewWindow* preview = w.findChild<PaperPreviewWindow*>();
        QVERIFY(preview && preview->isVisible());
        QCOMPARE(preview->windowTitle(), QStringLiteral("Paper preview"));
        w.runMenu(MenuCommand::PaperPreview); // the one window again
        QCOMPARE(w.findChildren<PaperPreviewWindow*>().size(), 1);
        QCOMPARE(preview->drawing->geometry().printStarts, (std::vector<int>{0, 320, 640}));
        QVERIFY(preview->said->text().contains(QStringLiteral("Cut: backfeed 2 mm")));

        w.Text2[4]->setText(QStringLiteral("12"));
        w.Text2[3]->setText(QStringLiteral("6"));
        QVERIFY(preview->said->text().contains(QStringLiteral("Print start: backfeed 6 mm")));
        QCOMPARE(preview->drawing->geometry().printStarts, (std::vector<int>{272, 592, 912}));
        w.Text2[4]->setText(QStringLiteral("12mm?"));
        QVERIFY(preview->said->text().contains(QStringLiteral("\"12mm?\" is not a distance")));
        QVERIFY(preview->drawing->geometry().cuts.empty());

        w.Text2[4]->setText(QStringLiteral("1"));
        preview->paperKind->setCurrentIndex(2);
        preview->pitch->setText(QStringLiteral("30"));
        QVERIFY(preview->said->text().startsWith(QStringLiteral("Label paper 80 mm wide")));
        QCOMPARE(preview->drawing->geometry().roll.pitch, 240);
        const QImage drawn = preview->drawing->grab().toImage();
        QVERIFY(drawn.pixelColor(drawn.width() / 4, 100) == Qt::white);
        QVERIFY(sdk.calls.empty());
    }
};

QTEST_MAIN(TestPaperPreviewWindow)
#include "tst_paperpreviewwindow.moc"
