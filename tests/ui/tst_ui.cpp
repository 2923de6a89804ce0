#include "DefaultNetworkAddress.h"
#include "FrmTest.h"
#include "IpAddressEntry.h"
#include "PaperLayoutDialog.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"
#include "ipBox.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

namespace
{

std::vector<std::string> threePrinters()
{
    return {"Kitchen", "Front desk", "Labels"};
}

// Each box as "text|title|informative|icon|buttons", answered without blocking.
class BoxAnswerer
{
public:
    BoxAnswerer()
    {
        MessageBoxMessages::setAnswerHook([this](QMessageBox& box) {
            shown << QStringList{box.text(), box.windowTitle(), box.informativeText(),
                                 QString::number(box.icon()),
                                 QString::number(box.standardButtons().toInt())}
                         .join(u'|');
        });
    }
    ~BoxAnswerer() { MessageBoxMessages::setAnswerHook({}); }

    QStringList shown;
};

QString enabledStates(const FrmTest& w)
{
    return QStringLiteral("%1%2%3")
        .arg(int(w.Text1->isEnabled()))
        .arg(int(w.Combo2->isEnabled()))
        .arg(int(w.Combo3->isEnabled()));
}

int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const IpBoxError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

// The main window with a recording SDK (its default address is never dialled), and the IP
// address box.
class TestUi : public QObject
{
    Q_OBJECT

private slots:
    void windowAfterLoadAndPortEnabling()
    {
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, threePrinters);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(QApplication::focusWidget(), w.Combo1);
        QStringList shown{w.windowTitle(), w.Combo1->currentText(), w.Combo3->currentText(),
                          w.Text1->text(), w.Combo2->currentText(), w.Combo4->currentText(),
                          enabledStates(w)};
        for (QLineEdit* box : w.Text2)
            shown << box->text();
        QCOMPARE(shown,
                 (QStringList{"FrmSetting", "ETHERNET", "19200",
                              QString::fromUtf8(DefaultNetworkAddress.data()), "Kitchen",
                              "Black mark function  OFF", "100", "300", "10", "0", "0", "0", "0"}));
        w.resize(800, 800);
        QCOMPARE(w.client->size(), QSize(430, 529));
        QCOMPARE(w.client->y(), w.menuBar->height()); // the window grows by its menu bar alone
        QCOMPARE(w.height(), 529 + w.menuBar->height());
        const QColor red(255, 0, 0);
        QVERIFY(w.Combo4->palette().color(QPalette::ButtonText) == red &&
                w.Text2[5]->palette().color(QPalette::Text) == red);

        // Choosing or typing a port sets which port controls are usable.
        w.Combo1->setCurrentIndex(13); // DRIVER
        QCOMPARE(enabledStates(w), QStringLiteral("010"));
        const char* const steps[][2] = {{"CO", "010"}, {"COM", "001"}};
        for (const auto& [typed, states] : steps) {
            w.Combo1->lineEdit()->clear();
            QTest::keyClicks(w.Combo1->lineEdit(), QLatin1String(typed));
            QTest::keyClick(w.Combo1->lineEdit(), Qt::Key_Return);
            QCOMPARE(w.Combo1->currentText(), QLatin1String(typed));
            QCOMPARE(enabledStates(w), QLatin1String(states));
        }
        QCOMPARE(w.Combo1->count(), 14); // typed text is not added to the list
        QVERIFY(sdk.calls.empty());
    }

    void keyboardMovesFocusAndPressesNothing()
    {
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, threePrinters);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QStringList visited;
        for (int i = 0; i < 20; ++i) {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab})
                QTest::keyClick(QApplication::focusWidget(), key);
            QWidget* focus = QApplication::focusWidget();
            // The edit field of Combo1 stands for Combo1.
            visited << (focus->parentWidget() == w.Combo1 ? w.Combo1 : focus)->objectName();
        }
        // Every usable control once, the disabled Combo2 and Combo3 skipped, then round again.
        QVERIFY(!visited.contains("Combo2") && !visited.contains("Combo3"));
        QCOMPARE(visited.indexOf("Combo1"), 18);
        QCOMPARE(visited.removeDuplicates(), 1);
        QVERIFY(sdk.calls.empty());
        QVERIFY(w.isVisible());
    }

    // Clicks reach the handlers that the window's model names; each handler is the model's.
    void buttonsReachTheirHandlers()
    {
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, threePrinters);
        w.Text1->setText(QStringLiteral("127.0.0.1:9101"));
        const std::pair<QPushButton*, const char*> rows[] = {{w.Command1, " 81 04 05 06 60 9"},
                                                             {w.Command7, " 02 01 0 0"},
                                                             {w.Command5, " 80 04 05 06 66"},
                                                             {w.Command8, " 2A 2A 0A"},
                                                             {w.Command9, " 1D 56 30 0A"}};
        for (const auto& [button, end] : rows) {
            sdk.calls.clear();
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY2(w.windowValues().CommandText.ends_with(end), end);
            QCOMPARE(sdk.calls.size(), 5u);
            QCOMPARE(sdk.calls[0], "POS_Open(127.0.0.1:9101,0,0,0,0,21)");
        }
        QTest::mouseClick(w.Command10, Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    void failuresShowBoxes()
    {
        BoxAnswerer answerer;
        RecordingPrinterSdk sdk;
        sdk.openResult = -1;
        FrmTest w(sdk, threePrinters);
        QTest::mouseClick(w.Command6, Qt::LeftButton);
        w.Text2[4]->setText("-2.5");
        QTest::mouseClick(w.Command6, Qt::LeftButton);
        QCOMPARE(sdk.calls.size(), 1u); // nothing after a failed open, nothing for a refusal
        QCOMPARE(answerer.shown.value(0), QStringLiteral("Fail to open port,please check!|error|"
                                                         "scripted failure|%1|%2")
                                              .arg(QMessageBox::Critical)
                                              .arg(QMessageBox::Ok));
        QVERIFY(
            answerer.shown.value(1).startsWith("Cut position after black mark is found  Feed:"));
        QVERIFY(answerer.shown.value(1).endsWith(
            QStringLiteral("|error||%1|%2").arg(QMessageBox::Warning).arg(QMessageBox::Ok)));
        QCOMPARE(w.windowValues().PortHandle, -1);

        SystemPrinterSdk system(systemPortFor);
        FrmTest full(system, threePrinters);
        full.Combo1->setCurrentText("LPT /dev/full"); // opens, and takes no byte
        QTest::mouseClick(full.Command6, Qt::LeftButton);
        QCOMPARE(answerer.shown.value(2).section(u'|', 0, 2),
                 "The command did not reach the printer.|error|write to /dev/full: No space left "
                 "on device");                       // with the icon and button of the box above
        QVERIFY(!QGuiApplication::overrideCursor()); // the busy cursor is gone again
    }

    // Each menu and item as the model names it; the items reach the model.
    void menuBarItemsRunTheirCommands()
    {
        BoxAnswerer answerer;
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, threePrinters);
        w.Text1->setText(QStringLiteral("127.0.0.1:9101"));
        QStringList captions;
        QAction* whoIsIt = nullptr;
        QAction* about = nullptr;
        for (QAction* menu : w.menuBar->actions()) {
            captions << menu->text();
            for (QAction* item : menu->menu()->actions()) {
                captions << item->text();
                whoIsIt = item->text() == "&Who is it?" ? item : whoIsIt;
                about = item->text() == "&About" ? item : about;
            }
        }
        QCOMPARE(captions.join(u','),
                 QString::fromUtf8("&File,&Open profile…,&Save profile…,&Apply a profile to "
                                   "printers…,&Printer,&Who is it?,&Can it print?,&Find printers "
                                   "on the network…,Paper &layout…,&View,Paper &preview…,&Help,"
                                   "&About"));
        whoIsIt->trigger();
        QCOMPARE(sdk.calls.at(0), "POS_Open(127.0.0.1:9101,0,0,0,0,21)");
        QVERIFY(answerer.shown.value(0).startsWith("maker not answered"));
        about->trigger();
        QVERIFY(answerer.shown.value(1).startsWith("blackmark-setup "));
        // Busy while it asks the printer, and only then.
        QStringList cursors;
        MessageBoxMessages::setAnswerHook([&](QMessageBox&) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            cursors << QString::number(cursor ? cursor->shape() : -1);
        });
        whoIsIt->trigger();
        about->trigger();
        QCOMPARE(cursors, (QStringList{QString::number(Qt::WaitCursor), "-1"}));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void paperLayoutDialogHandsItsControlsToTheModel()
    {
        RecordingPrinterSdk sdk;
        RecordingUserMessages messages;
        PaperLayoutValues values;
        PaperLayoutDialog dialog(values, sdk, messages, [] {
            return PortSettings{"ETHERNET", "127.0.0.9", "", ""};
        });
        QTest::keyClicks(dialog.distances[0], "50");
        QCOMPARE(dialog.findChild<QLineEdit*>("pitch"), dialog.distances[0]);
        QVERIFY(!dialog.distances[3]->isEnabled()); // no bottom on black-mark paper
        dialog.kind->setCurrentIndex(1);
        QVERIFY(dialog.distances[3]->isEnabled());
        QCOMPARE(values.kind, PaperLayout::Kind::DieCutLabels);
        dialog.keepAfterPowerOff->setChecked(true);
        QTest::mouseClick(dialog.set, Qt::LeftButton);
        QCOMPARE(values.pitch, "50");
        QCOMPARE(QString::fromStdString(RecordingPrinterSdk::hex(sdk.written.at(0))),
                 "1C 28 4C 0B 00 21 31 35 30 30 3B 3B 3B 3B 3B 3B 1D 28 4D 02 00 01 01 1D 28 4D "
                 "02 00 03 01");
        QCOMPARE(dialog.status->text(), "The printer took the layout and keeps it.");
        const std::pair<QPushButton*, const char*> rows[] = {
            {dialog.readBack, "1C 28 4C 02 00 22 40"},
            {dialog.testPrint, "1C 28 4C 02 00 42 30"},
            {dialog.testCut, "1C 28 4C 02 00 42 30"}};
        for (const auto& [button, first] : rows) {
            sdk.written.clear();
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(RecordingPrinterSdk::hex(sdk.written.at(0)).starts_with(first));
        }
        QCOMPARE(messages.shown.size(), 1u); // the read back's box
    }

    // The rules are the core's; here the control shows what they accept and keeps its address
    // when they refuse.
    void ipBoxWritesAndCounts()
    {
        ipBox box;
        QCOMPARE(box.Address(), QString::fromUtf8(DefaultNetworkAddress.data()));
        box.setAddress(QStringLiteral(" 010.001.000.255 "));
        QCOMPARE(box.Address(), QStringLiteral("10.1.0.255"));
        QCOMPARE(errorOf([&] { box.setAddress(QString::fromUtf8("1.2.3\u012E")); }), 102);
        QCOMPARE(errorOf([&] { box.setAddress(QStringLiteral("a.b.c.-1")); }), 6);
        QCOMPARE(box.Address(), QStringLiteral("10.1.0.255"));
        const QVariant count =
            box.CountIF(QString::fromUtf8("\u00e4a\u00e4"), QString::fromUtf8("\u00e4"));
        QCOMPARE(count.metaType(), QMetaType::fromType<qint16>());
        QCOMPARE(count.value<qint16>(), 2);
        QCOMPARE(errorOf([&] { box.CountIF("1.2", ""); }), 5);
    }

    void ipBoxChildLifecycle()
    {
        ipBox bare(nullptr, ipBox::Child::None); // nothing to hold an address
        bare.setAddress("1.2.3.4");
        QCOMPARE(bare.Address(), QStringLiteral("0.0.0.0"));
        ipBox box;
        box.setAddress("1.2.3.4");
        box.hIPWnd->field(1)->clear(); // a blank field reads as 0
        QCOMPARE(box.Address(), QStringLiteral("1.0.3.4"));
        box.show(); // a hidden widget hears of its new size only when it is shown
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.resize(200, 30);
        QCOMPARE(box.hIPWnd->geometry(), QRect(0, 0, 200, 30));
    }

    void ipBoxKeysMoveBetweenFields()
    {
        ipBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        for (int i = 0; i < 4; ++i)
            box.hIPWnd->field(i)->clear();
        box.hIPWnd->field(0)->setFocus();
        // Three digits move on by themselves, but from the last field; a dot after them is then
        // not a second move.
        for (QChar c : QStringLiteral("10.200300.255"))
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        QCOMPARE(box.Address(), QStringLiteral("10.200.255.255"));
        QCOMPARE(QApplication::focusWidget(), box.hIPWnd->field(3));

        QLineEdit* second = box.hIPWnd->field(1);
        QLineEdit* third = box.hIPWnd->field(2);
        third->setFocus();
        third->selectAll();
        QTest::keyClick(third, Qt::Key_Backspace);
        QTest::keyClick(third, Qt::Key_Backspace); // empty: back to the field before
        QCOMPARE(QApplication::focusWidget(), second);
        QCOMPARE(second->cursorPosition(), 3);
        QTest::keyClick(second, Qt::Key_Right); // at the end: on to the next field
        QCOMPARE(QApplication::focusWidget(), third);
        QTest::keyClick(third, Qt::Key_Left); // at the start: back again
        QCOMPARE(QApplication::focusWidget(), second);
        QTest::keyClick(second, Qt::Key_Left);
        QCOMPARE(QApplication::focusWidget(), second); // moved within the field
        second->setCursorPosition(0);
        QTest::keyClick(second, Qt::Key_Backspace); // at the start: back, nothing deleted
        QCOMPARE(QApplication::focusWidget(), box.hIPWnd->field(0));
        QCOMPARE(box.hIPWnd->field(0)->cursorPosition(), 2);
        QCOMPARE(box.Address(), QStringLiteral("10.200.0.255"));
        QApplication::clipboard()->setText(" 172.16.0.9 ");
        third->setFocus();
        QTest::keySequence(third, QKeySequence::Paste);
        QCOMPARE(box.Address(), QStringLiteral("172.16.0.9"));
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
