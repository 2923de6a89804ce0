#include "DefaultNetworkAddress.h"
#include "IpAddressEntry.h"
#include "ipBox.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

namespace
{

// Types each character into whichever field has the focus, as a person's keys go.
void typeIntoFocus(const QString& text)
{
    for (QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

int errorOf(ipBox& box, const QString& text)
{
    try {
        box.setAddress(text);
    } catch (const IpBoxError& error) {
        return error.number();
    }
    return 0;
}

QStringList fieldTexts(const IpAddressEntry& entry)
{
    QStringList texts;
    for (int i = 0; i < 4; ++i)
        texts << entry.field(i)->text();
    return texts;
}

} // namespace

class TestIpBox : public QObject
{
    Q_OBJECT

private slots:
    void newInstanceShowsDefault();
    void writes_data();
    void writes();
    void formatErrorDescription();
    void readsBlankFields();
    void controlWithoutChild();
    void secondChildTakesOver();
    void childCoversControl();
    void countIF_data();
    void countIF();
    void countIFErrors();
    void typingFillsFields();
    void backspaceAndArrowsMove();
    void pasteFillsAllFields();
};

void TestIpBox::newInstanceShowsDefault()
{
    ipBox box;
    QCOMPARE(box.Address(), DefaultNetworkAddress);
}

void TestIpBox::writes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error"); // 0 when accepted
    QTest::addColumn<QString>("readBack");

    const QString kept = QStringLiteral("9.8.7.6");
    QTest::newRow("empty") << "" << 102 << kept;
    QTest::newRow("two dots") << "1.2.3" << 102 << kept;
    QTest::newRow("plain") << "1.2.3.4" << 0 << "1.2.3.4";
    QTest::newRow("256") << "256.1.1.1" << 6 << kept;
    QTest::newRow("leading zeros") << "010.001.000.255" << 0 << "10.1.0.255";
    QTest::newRow("blanks around") << " 10 . 0 . 0 . 1 " << 0 << "10.0.0.1";
    QTest::newRow("tabs around") << "\t10.0.0.1\t" << 0 << "10.0.0.1";
    QTest::newRow("fifth part") << "1.2.3.4.5" << 0 << "1.2.3.4";
    QTest::newRow("junk fifth part") << "1.2.3.4.x" << 0 << "1.2.3.4";
    QTest::newRow("empty part") << "1..2.3" << 13 << kept;
    QTest::newRow("last part first") << "a.b.c.300" << 6 << kept;
    QTest::newRow("letters") << "a.b.c.d" << 13 << kept;
    QTest::newRow("minus one") << "-1.0.0.0" << 6 << kept;
    QTest::newRow("minus zero") << "-0.+0.0.0" << 0 << "0.0.0.0";
    QTest::newRow("huge") << "1.2.3.99999999999999999999" << 6 << kept;
    QTest::newRow("fraction") << "1.2.3,5.4" << 13 << kept;
    QTest::newRow("blank inside") << "1 0.0.0.1" << 13 << kept;
    QTest::newRow("full-width digit") << QString::fromUtf8("１.2.3.4") << 13 << kept;
    QTest::newRow("look-alike dot") << QString::fromUtf8("1.2.3\u012E") << 102 << kept;
    QTest::newRow("look-alike dot 2") << QString::fromUtf8("1.2\u2E80.3") << 102 << kept;
    QTest::newRow("top") << "255.255.255.255" << 0 << "255.255.255.255";
}

void TestIpBox::writes()
{
    QFETCH(QString, text);
    QFETCH(int, error);
    QFETCH(QString, readBack);
    ipBox box;
    box.setAddress(QStringLiteral("9.8.7.6"));
    QCOMPARE(errorOf(box, text), error);
    QCOMPARE(box.Address(), readBack);
}

void TestIpBox::formatErrorDescription()
{
    ipBox box;
    try {
        box.setAddress(QStringLiteral("1.2"));
        QFAIL("no error");
    } catch (const IpBoxError& error) {
        QCOMPARE(error.number(), 102);
        QCOMPARE(error.description(),
                 QString::fromUtf8("Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255"));
    }
}

void TestIpBox::readsBlankFields()
{
    ipBox box;
    for (int i = 0; i < 4; ++i)
        box.hIPWnd->field(i)->clear();
    QCOMPARE(box.Address(), QStringLiteral("0.0.0.0"));
    box.hIPWnd->field(0)->setText("10");
    QCOMPARE(box.Address(), QStringLiteral("10.0.0.0"));
}

void TestIpBox::controlWithoutChild()
{
    ipBox box(nullptr, ipBox::Child::None);
    QVERIFY(!box.hIPWnd);
    QCOMPARE(box.Address(), QStringLiteral("0.0.0.0"));
    QCOMPARE(errorOf(box, "1.2.3"), 102);
    QCOMPARE(errorOf(box, "1.2.3.4"), 0);
    QCOMPARE(box.Address(), QStringLiteral("0.0.0.0"));
    box.resize(300, 40); // nothing to fit
    box.CreateTextBox();
    QVERIFY(box.hIPWnd);
    QCOMPARE(box.Address(), QStringLiteral("0.0.0.0"));
}

void TestIpBox::secondChildTakesOver()
{
    ipBox box;
    IpAddressEntry* first = box.hIPWnd;
    box.setAddress("1.1.1.1");
    box.CreateTextBox();
    QVERIFY(box.hIPWnd != first);
    QCOMPARE(first->parent(), &box); // the older one stays until the control goes
    QCOMPARE(box.hIPWnd->geometry(), first->geometry());
    box.setAddress("2.2.2.2");
    QCOMPARE(fieldTexts(*first), (QStringList{"1", "1", "1", "1"}));
    QCOMPARE(box.Address(), QStringLiteral("2.2.2.2"));
}

void TestIpBox::childCoversControl()
{
    ipBox box;
    QCOMPARE(box.hIPWnd->geometry(), QRect(0, 0, 132, 19));
    box.show(); // a hidden widget hears of its new size only when it is shown
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    for (const QSize size : {QSize(200, 30), QSize(90, 18), QSize(300, 24)}) {
        box.resize(size);
        QCOMPARE(box.hIPWnd->geometry(), QRect(QPoint(0, 0), size));
    }
}

void TestIpBox::countIF_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("count");
    QTest::newRow("empty text, dot") << ""
                                     << "." << 0;
    QTest::newRow("empty text, empty key") << ""
                                           << "" << 0;
    QTest::newRow("two dots") << "1.2.3"
                              << "." << 2;
    QTest::newRow("longer key") << "1.2.3"
                                << ".x" << 2;
    QTest::newRow("other key") << "a-b-c-"
                               << "-" << 3;
    QTest::newRow("U+012E is no dot") << QString::fromUtf8("1.2.3\u012E") << "." << 2;
    QTest::newRow("U+2E80 is no dot") << QString::fromUtf8("\u2E80\u2E80") << "." << 0;
    QTest::newRow("non-ASCII key") << QString::fromUtf8("äaäÄ") << QString::fromUtf8("ä") << 2;
    QTest::newRow("longest counted") << QString(16383, u'.') << "." << 16383;
}

void TestIpBox::countIF()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(int, count);
    ipBox box;
    const QVariant result = box.CountIF(text, key);
    QCOMPARE(result.metaType(), QMetaType::fromType<qint16>());
    QCOMPARE(int(result.value<qint16>()), count);
}

void TestIpBox::countIFErrors()
{
    ipBox box;
    const auto errorOfCount = [&](const QString& text, const QString& key) {
        try {
            box.CountIF(text, key);
        } catch (const IpBoxError& error) {
            return error.number();
        }
        return 0;
    };
    QCOMPARE(errorOfCount("1.2", ""), 5);
    QCOMPARE(errorOfCount(QString(16384, u'1'), "."), 6);
}

void TestIpBox::typingFillsFields()
{
    ipBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    for (int i = 0; i < 4; ++i)
        box.hIPWnd->field(i)->clear();
    box.hIPWnd->field(0)->setFocus();
    typeIntoFocus("192.168.1.7");
    QCOMPARE(fieldTexts(*box.hIPWnd), (QStringList{"192", "168", "1", "7"}));
    QCOMPARE(box.Address(), QStringLiteral("192.168.1.7"));

    // Three digits move on by themselves; a dot after them is then not a second move.
    for (int i = 0; i < 4; ++i)
        box.hIPWnd->field(i)->clear();
    box.hIPWnd->field(0)->setFocus();
    typeIntoFocus("10.200300.5");
    QCOMPARE(fieldTexts(*box.hIPWnd), (QStringList{"10", "200", "255", "5"}));
}

void TestIpBox::backspaceAndArrowsMove()
{
    ipBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    box.setAddress("1.22.3.4");
    QLineEdit* second = box.hIPWnd->field(1);
    QLineEdit* third = box.hIPWnd->field(2);
    third->setFocus();
    third->setCursorPosition(1);
    QTest::keyClick(third, Qt::Key_Backspace);
    QCOMPARE(third->text(), QString());
    QTest::keyClick(third, Qt::Key_Backspace); // empty: back to the field before
    QCOMPARE(QApplication::focusWidget(), second);
    QCOMPARE(second->cursorPosition(), 2);
    QTest::keyClick(second, Qt::Key_Right); // at the end: on to the next field
    QCOMPARE(QApplication::focusWidget(), third);
    QTest::keyClick(third, Qt::Key_Left); // at the start: back again
    QCOMPARE(QApplication::focusWidget(), second);
    QTest::keyClick(second, Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), second); // moved within the field
    QCOMPARE(box.Address(), QStringLiteral("1.22.0.4"));
}

void TestIpBox::pasteFillsAllFields()
{
    ipBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QApplication::clipboard()->setText(" 172.16.0.9 ");
    box.hIPWnd->field(2)->setFocus();
    QTest::keySequence(box.hIPWnd->field(2), QKeySequence::Paste);
    QCOMPARE(box.Address(), QStringLiteral("172.16.0.9"));
}

QTEST_MAIN(TestIpBox)
#include "tst_ipbox.moc"
