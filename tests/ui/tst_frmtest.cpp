#include "DefaultNetworkAddress.h"
#include "FrmTest.h"
#include "RecordingPrinterSdk.h"
#include "SystemPrinterSdk.h"

#include <QApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace
{

QStringList noPrinters()
{
    return {};
}

QStringList threePrinters()
{
    return {"Kitchen", "Front desk", "Labels"};
}

// What the message box would have shown, answered without blocking.
struct ShownBox {
    QString text, title, informative;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
};

class BoxAnswerer
{
public:
    BoxAnswerer()
    {
        MessageBoxMessages::setAnswerHook([this](QMessageBox& box) {
            ShownBox shownBox{box.text(), box.windowTitle(), box.informativeText(), box.icon(), {}};
            for (QAbstractButton* b : box.buttons())
                shownBox.buttons << box.standardButton(b);
            shown << shownBox;
        });
    }
    ~BoxAnswerer() { MessageBoxMessages::setAnswerHook({}); }

    QList<ShownBox> shown;
};

QString enabledStates(const FrmTest& w)
{
    return QStringLiteral("%1%2%3")
        .arg(int(w.Text1->isEnabled()))
        .arg(int(w.Combo2->isEnabled()))
        .arg(int(w.Combo3->isEnabled()));
}

} // namespace

using PrinterSource = QStringList (*)();
Q_DECLARE_METATYPE(PrinterSource)

class TestFrmTest : public QObject
{
    Q_OBJECT

private slots:
    void stateAfterLoad_data();
    void stateAfterLoad();
    void enablingFollowsSelectedPort_data();
    void enablingFollowsSelectedPort();
    void enablingFollowsTypedPort();
    void typedTextIsNotAddedToList();
    void tabOrderSkipsDisabledControls();
    void enterAndEscPressNothing();
    void windowCannotBeResized();
    void eachButtonSendsItsBytes_data();
    void eachButtonSendsItsBytes();
    void valuesAreReadAtPress();
    void portErrorBox();
    void distanceRefusalBox();
    void driverWithoutPrintersFailsToOpen();
    void closeEndsWindow();
    void endToEndOverLoopback();
};

void TestFrmTest::stateAfterLoad_data()
{
    QTest::addColumn<PrinterSource>("printers");
    QTest::addColumn<QString>("driverShown");
    QTest::newRow("no printer") << PrinterSource(noPrinters) << "";
    QTest::newRow("three printers") << PrinterSource(threePrinters) << "Kitchen";
}

void TestFrmTest::stateAfterLoad()
{
    QFETCH(PrinterSource, printers);
    QFETCH(QString, driverShown);
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, printers);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    QCOMPARE(w.windowTitle(), QStringLiteral("FrmSetting"));
    QCOMPARE(w.Combo1->currentText(), QStringLiteral("ETHERNET"));
    QCOMPARE(w.Combo1->count(), 14);
    QCOMPARE(w.Combo1->itemText(13), QStringLiteral("DRIVER"));
    QCOMPARE(QApplication::focusWidget(), w.Combo1);
    QCOMPARE(w.Combo3->currentText(), QStringLiteral("19200"));
    QCOMPARE(w.Text1->text(), DefaultNetworkAddress);
    QCOMPARE(enabledStates(w), QStringLiteral("100"));
    QCOMPARE(w.Combo2->currentText(), driverShown);
    QCOMPARE(w.Combo2->count(), printers().size());
    QCOMPARE(w.Combo4->currentText(), QStringLiteral("Black mark function  OFF"));
    QStringList boxes;
    for (QLineEdit* box : w.Text2)
        boxes << box->text();
    QCOMPARE(boxes, (QStringList{"300", "10", "0", "0", "0", "0"}));
    QVERIFY(w.Combo1->isEditable());
    QVERIFY(!w.Combo2->isEditable() && !w.Combo3->isEditable() && !w.Combo4->isEditable());
    QCOMPARE(w.Text2[3]->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(w.Label1->font().weight(), QFont::Bold);
    QCOMPARE(w.Label1->font().families().first(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(w.findChild<QLineEdit*>("Text2_5"), w.Text2[5]);
    QCOMPARE(w.Command7->geometry(), QRect(8, 315, 256, 31));
    QCOMPARE(sdk.calls, QStringList());
}

void TestFrmTest::enablingFollowsSelectedPort_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("states"); // Text1, Combo2, Combo3
    QTest::newRow("ETHERNET") << 0 << "100";
    QTest::newRow("COM1") << 1 << "001";
    QTest::newRow("COM9") << 9 << "001";
    QTest::newRow("LPT2") << 11 << "000";
    QTest::newRow("DRIVER") << 13 << "010";
}

void TestFrmTest::enablingFollowsSelectedPort()
{
    QFETCH(int, index);
    QFETCH(QString, states);
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, threePrinters);
    w.Combo1->setCurrentIndex(13);
    w.Combo1->setCurrentIndex(index);
    QCOMPARE(enabledStates(w), states);
    QCOMPARE(w.Combo3->currentText(), QStringLiteral("19200")); // only states change
}

void TestFrmTest::enablingFollowsTypedPort()
{
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, threePrinters);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QLineEdit* edit = w.Combo1->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(enabledStates(w), QStringLiteral("100"));
    QTest::keyClick(edit, 'C');
    QTest::keyClick(edit, 'O');
    QCOMPARE(w.Combo1->currentText(), QStringLiteral("CO"));
    QCOMPARE(enabledStates(w), QStringLiteral("100"));
    QTest::keyClick(edit, 'M');
    QCOMPARE(enabledStates(w), QStringLiteral("001"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(enabledStates(w), QStringLiteral("001"));

    w.Combo1->setCurrentIndex(13); // DRIVER
    for (const char* noKind : {"com1", " COM1"}) {
        edit->clear();
        QTest::keyClicks(edit, QLatin1String(noKind));
        QCOMPARE(w.Combo1->currentText(), QLatin1String(noKind));
        QCOMPARE(enabledStates(w), QStringLiteral("010"));
    }
}

void TestFrmTest::typedTextIsNotAddedToList()
{
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, noPrinters);
    QLineEdit* edit = w.Combo1->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, "COM12");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(w.Combo1->count(), 14);
    QCOMPARE(w.Combo1->currentText(), QStringLiteral("COM12"));
    QVERIFY(sdk.calls.isEmpty());
}

void TestFrmTest::tabOrderSkipsDisabledControls()
{
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, threePrinters);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QStringList visited;
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The edit field of Combo1 stands for Combo1.
        visited << (focus->parentWidget() == w.Combo1 ? w.Combo1 : focus)->objectName();
    }
    const QStringList expected{"Command5", "Combo4",    "Text1",    "Command1", "Command2",
                               "Command3", "Command4",  "Command6", "Command7", "Command8",
                               "Command9", "Command10", "Text2_0",  "Text2_1",  "Text2_2",
                               "Text2_3",  "Text2_4",   "Text2_5",  "Combo1",   "Command5"};
    QCOMPARE(visited, expected);
}

void TestFrmTest::enterAndEscPressNothing()
{
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, threePrinters);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (QWidget* target :
         std::initializer_list<QWidget*>{w.Command1, w.Command8, w.Text1, w.Text2[0], w.Combo1}) {
        target->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(target, key);
    }
    QVERIFY(sdk.calls.isEmpty());
    QVERIFY(w.isVisible());
}

void TestFrmTest::windowCannotBeResized()
{
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, noPrinters);
    QCOMPARE(w.minimumSize(), QSize(430, 529));
    QCOMPARE(w.maximumSize(), QSize(430, 529));
    QVERIFY(!(w.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
    w.resize(800, 800);
    QCOMPARE(w.size(), QSize(430, 529));
}

void TestFrmTest::eachButtonSendsItsBytes_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("write");
    QTest::newRow("Command1") << "Command1"
                              << "1F 1B 1F 81 04 05 06 60 09";
    QTest::newRow("Command2") << "Command2"
                              << "1F 1B 1F 82 04 05 06 50 00";
    QTest::newRow("Command3") << "Command3"
                              << "1D 28 46 04 00 01 00 00 00";
    QTest::newRow("Command4") << "Command4"
                              << "1D 28 46 04 00 01 01 00 00";
    QTest::newRow("Command5") << "Command5"
                              << "1F 1B 1F 80 04 05 06 66";
    QTest::newRow("Command6") << "Command6"
                              << "1D 28 46 04 00 02 00 00 00";
    QTest::newRow("Command7") << "Command7"
                              << "1D 28 46 04 00 02 01 00 00";
    QTest::newRow("Command8") << "Command8"
                              << "1B 40 1D 0C 2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F "
                                 "53 49 54 49 4F 4E 2A 2A 2A 2A 0A";
    QTest::newRow("Command9") << "Command9"
                              << "1B 40 1D 56 30 0A";
}

void TestFrmTest::eachButtonSendsItsBytes()
{
    QFETCH(QString, button);
    QFETCH(QString, write);
    // A recording SDK: the default address is never dialled.
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, threePrinters);
    const struct {
        int port;
        const char* open;
    } ports[] = {{0, "POS_Open(%1,0,0,0,0,21)"},
                 {3, "POS_Open(COM3,115200,8,0,0,1)"},
                 {11, "POS_Open(LPT2,0,0,0,0,18)"},
                 {13, "POS_Open(Labels,0,0,0,0,20)"}};
    w.Combo3->setCurrentIndex(3);
    w.Combo2->setCurrentIndex(2);
    for (const auto& port : ports) {
        sdk.calls.clear();
        w.Combo1->setCurrentIndex(port.port);
        QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
        const QStringList expected{
            QString::fromLatin1(port.open).replace("%1", DefaultNetworkAddress), "POS_StartDoc()",
            "POS_WriteFile(7," + write + ")", "POS_EndDoc()", "POS_Close()"};
        QCOMPARE(sdk.calls, expected);
    }
}

void TestFrmTest::valuesAreReadAtPress()
{
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, threePrinters);
    w.Text2[0]->setText("32");
    w.Text2[1]->setText("999");
    w.Combo4->setCurrentIndex(1);
    w.Text1->setText("10.1.2.3:9101");
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QTest::mouseClick(w.Command5, Qt::LeftButton);
    QCOMPARE(sdk.calls.at(0), QStringLiteral("POS_Open(10.1.2.3:9101,0,0,0,0,21)"));
    QCOMPARE(sdk.written.at(0), QByteArray::fromHex("1F1B1F810405060001"));
    QCOMPARE(sdk.written.at(1), QByteArray::fromHex("1F1B1F8004050644"));
    QCOMPARE(w.windowValues().CommandText, QStringLiteral("1F 1B 1F 80 04 05 06 44"));
}

void TestFrmTest::portErrorBox()
{
    BoxAnswerer answerer;
    RecordingPrinterSdk sdk;
    sdk.openResult = -1;
    sdk.failure = QStringLiteral("connect to 10.9.9.9:9100: no answer within 3 s");
    FrmTest w(sdk, threePrinters);
    QTest::mouseClick(w.Command9, Qt::LeftButton);

    QCOMPARE(sdk.calls.size(), 1); // the open, and nothing after it
    QCOMPARE(answerer.shown.size(), 1);
    const ShownBox& box = answerer.shown.first();
    QCOMPARE(box.text, QStringLiteral("Fail to open port,please check!"));
    QCOMPARE(box.title, QStringLiteral("error"));
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    QCOMPARE(box.informative, sdk.failure);
    QCOMPARE(w.windowValues().PortHandle, -1);
    QVERIFY(!QGuiApplication::overrideCursor()); // the busy cursor is gone again
}

void TestFrmTest::distanceRefusalBox()
{
    BoxAnswerer answerer;
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, threePrinters);
    w.Text2[4]->setText("-2.5");
    QTest::mouseClick(w.Command6, Qt::LeftButton);

    QVERIFY(sdk.calls.isEmpty());
    QCOMPARE(answerer.shown.size(), 1);
    const ShownBox& box = answerer.shown.first();
    QVERIFY(box.text.startsWith("Cut position after black mark is found  Feed: the distance "
                                "\"-2.5\" cannot be sent."));
    QVERIFY(box.text.contains("0 to 4095.875 mm"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

void TestFrmTest::driverWithoutPrintersFailsToOpen()
{
    BoxAnswerer answerer;
    SystemPrinterSdk sdk; // a queue lookup never leaves the machine
    FrmTest w(sdk, noPrinters);
    w.Combo1->setCurrentIndex(13);
    QTest::mouseClick(w.Command9, Qt::LeftButton);
    QCOMPARE(answerer.shown.size(), 1);
    QCOMPARE(answerer.shown.first().text, QStringLiteral("Fail to open port,please check!"));
    QCOMPARE(answerer.shown.first().informative, QStringLiteral("no printer queue is chosen"));
}

void TestFrmTest::closeEndsWindow()
{
    RecordingPrinterSdk sdk;
    FrmTest w(sdk, noPrinters);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.Command10, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(sdk.calls.isEmpty());
}

void TestFrmTest::endToEndOverLoopback()
{
    QTcpServer printer;
    QVERIFY(printer.listen(QHostAddress::LocalHost));
    SystemPrinterSdk sdk;
    FrmTest w(sdk, noPrinters);
    // The address goes to loopback before any button is pressed.
    w.Text1->setText(QStringLiteral("127.0.0.1:%1").arg(printer.serverPort()));
    QTest::mouseClick(w.Command1, Qt::LeftButton);

    QVERIFY(printer.waitForNewConnection(5000));
    QTcpSocket* peer = printer.nextPendingConnection();
    QByteArray received;
    while (received.size() < 9 && peer->waitForReadyRead(5000))
        received += peer->readAll();
    QCOMPARE(received, QByteArray::fromHex("1F1B1F810405066009"));
    QVERIFY(w.windowValues().LastResult > 0);
}

QTEST_MAIN(TestFrmTest)
#include "tst_frmtest.moc"
