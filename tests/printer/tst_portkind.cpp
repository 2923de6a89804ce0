#include "PortKind.h"

#include <QTest>

Q_DECLARE_METATYPE(PortKind)

class TestPortKind : public QObject
{
    Q_OBJECT

private slots:
    void kindAndEnabling_data();
    void kindAndEnabling();
    void nameIsLocalEncoding();
};

void TestPortKind::kindAndEnabling_data()
{
    QTest::addColumn<QString>("portText");
    QTest::addColumn<PortKind>("kind");
    QTest::addColumn<QString>("enabled"); // Text1, Combo2, Combo3 as 1/0, or "unchanged"

    QTest::newRow("ETHERNET") << "ETHERNET" << PortKind::Network << "100";
    QTest::newRow("ETH") << "ETH" << PortKind::Network << "100";
    QTest::newRow("COM1") << "COM1" << PortKind::Serial << "001";
    QTest::newRow("COM12") << "COM12" << PortKind::Serial << "001";
    QTest::newRow("COM") << "COM" << PortKind::Serial << "001";
    QTest::newRow("LPT2") << "LPT2" << PortKind::Parallel << "000";
    QTest::newRow("LPT7") << "LPT7" << PortKind::Parallel << "000";
    QTest::newRow("DRIVER") << "DRIVER" << PortKind::Driver << "010";
    QTest::newRow("DRI") << "DRI" << PortKind::Driver << "010";
    QTest::newRow("DRIVERS") << "DRIVERS" << PortKind::Driver << "010";
    QTest::newRow("com1") << "com1" << PortKind::None << "unchanged";
    QTest::newRow("blank COM1") << " COM1" << PortKind::None << "unchanged";
    QTest::newRow("CO") << "CO" << PortKind::None << "unchanged";
    QTest::newRow("empty") << "" << PortKind::None << "unchanged";
    QTest::newRow("USB") << "USB001" << PortKind::None << "unchanged";
}

void TestPortKind::kindAndEnabling()
{
    QFETCH(QString, portText);
    QFETCH(PortKind, kind);
    QFETCH(QString, enabled);

    QCOMPARE(portKindOf(portText), kind);
    const auto states = parameterControlsFor(portText);
    if (enabled == QLatin1String("unchanged")) {
        QVERIFY(!states);
        QVERIFY(!openArgumentsFor({portText, "a", "b", "9600"}));
        return;
    }
    QVERIFY(states);
    const ParameterControlsEnabled expected{enabled[0] == u'1', enabled[1] == u'1',
                                            enabled[2] == u'1'};
    QCOMPARE(*states, expected);
}

void TestPortKind::nameIsLocalEncoding()
{
    // The name goes out as a private byte copy; an empty address stays empty.
    const auto empty = openArgumentsFor({"ETHERNET", "", "", "19200"});
    QVERIFY(empty);
    QCOMPARE(*empty, (OpenArguments{"", 0, 0, 0, 0, 21}));
    const auto umlaut = openArgumentsFor({"DRIVER", "", QString::fromUtf8("Kasse-Küche"), ""});
    QCOMPARE(umlaut->name, QString::fromUtf8("Kasse-Küche").toLocal8Bit());
}

QTEST_APPLESS_MAIN(TestPortKind)
#include "tst_portkind.moc"
