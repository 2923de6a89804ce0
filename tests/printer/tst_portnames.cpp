#include "PortNames.h"

#include <QTest>

using namespace PortNames;

class TestPortNames : public QObject
{
    Q_OBJECT

private slots:
    void networkAddress_data();
    void networkAddress();
    void devicePath_data();
    void devicePath();
};

void TestPortNames::networkAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("display"); // empty when refused
    QTest::addColumn<QString>("refusal");

    QTest::newRow("IPv4") << "192.168.1.50"
                          << "192.168.1.50:9100"
                          << "";
    QTest::newRow("IPv4 with port") << "127.0.0.1:4000"
                                    << "127.0.0.1:4000"
                                    << "";
    QTest::newRow("host name") << "printer.local"
                               << "printer.local:9100"
                               << "";
    QTest::newRow("host name with port") << "localhost:65535"
                                         << "localhost:65535"
                                         << "";
    QTest::newRow("IPv6 in brackets") << "[::1]"
                                      << "[::1]:9100"
                                      << "";
    QTest::newRow("IPv6 with port") << "[::1]:9101"
                                    << "[::1]:9101"
                                    << "";
    QTest::newRow("bare IPv6") << "fe80::1"
                               << "[fe80::1]:9100"
                               << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "\"\" is not a network address: it is empty";
    QTest::newRow("port 0") << "10.0.0.1:0"
                            << ""
                            << "\"10.0.0.1:0\" is not a network address: the port must be a "
                               "number from 1 to 65535";
    QTest::newRow("port too big") << "10.0.0.1:65536"
                                  << ""
                                  << "\"10.0.0.1:65536\" is not a network address: the port must "
                                     "be a number from 1 to 65535";
    QTest::newRow("port not a number") << "10.0.0.1:x"
                                       << ""
                                       << "\"10.0.0.1:x\" is not a network address: the port "
                                          "must be a number from 1 to 65535";
    QTest::newRow("empty port") << "10.0.0.1:"
                                << ""
                                << "\"10.0.0.1:\" is not a network address: the port must be a "
                                   "number from 1 to 65535";
    QTest::newRow("no host") << ":9100"
                             << ""
                             << "\":9100\" is not a network address: the host is missing";
    QTest::newRow("bracket not closed") << "[::1"
                                        << ""
                                        << "\"[::1\" is not a network address: the \"]\" is "
                                           "missing";
    QTest::newRow("stray bracket") << "]::1]:9101"
                                   << ""
                                   << "\"]::1]:9101\" is not a network address: the host has a "
                                      "character that no host name or address has";
    QTest::newRow("blank in host") << "printer one"
                                   << ""
                                   << "\"printer one\" is not a network address: the host has a "
                                      "character that no host name or address has";
    QTest::newRow("junk after bracket") << "[::1]x"
                                        << ""
                                        << "\"[::1]x\" is not a network address: only \":port\" "
                                           "may follow \"]\"";
}

void TestPortNames::networkAddress()
{
    QFETCH(QString, text);
    QFETCH(QString, display);
    QFETCH(QString, refusal);
    const NetworkAddress address = readNetworkAddress(text);
    QCOMPARE(address.refusal, refusal);
    if (refusal.isEmpty())
        QCOMPARE(address.display(), display);
}

void TestPortNames::devicePath_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QString>("portText");
    QTest::addColumn<QString>("path"); // empty when refused

    QTest::newRow("COM1") << true << "COM1"
                          << "/dev/ttyS0";
    QTest::newRow("COM12") << true << "COM12"
                           << "/dev/ttyS11";
    QTest::newRow("COM with path") << true << "COM /dev/ttyUSB0"
                                   << "/dev/ttyUSB0";
    QTest::newRow("COM with path, no blank") << true << "COM/dev/ttyACM0"
                                             << "/dev/ttyACM0";
    QTest::newRow("COM with path, blanks") << true << "COM  /dev/pts/3 "
                                           << "/dev/pts/3";
    QTest::newRow("COM0") << true << "COM0"
                          << "";
    QTest::newRow("COM alone") << true << "COM"
                               << "";
    QTest::newRow("COM relative path") << true << "COM ttyS0"
                                       << "";
    QTest::newRow("COM huge number") << true << "COM99999999999999999999"
                                     << "";
    QTest::newRow("COM1 and more") << true << "COM1x"
                                   << "";
    QTest::newRow("LPT1") << false << "LPT1"
                          << "/dev/lp0";
    QTest::newRow("LPT7") << false << "LPT7"
                          << "/dev/lp6";
    QTest::newRow("LPT with path") << false << "LPT /dev/usb/lp0"
                                   << "/dev/usb/lp0";
    QTest::newRow("LPT alone") << false << "LPT"
                               << "";
}

void TestPortNames::devicePath()
{
    QFETCH(bool, serial);
    QFETCH(QString, portText);
    QFETCH(QString, path);
    const DevicePath device = serial ? serialDevicePath(portText) : parallelDevicePath(portText);
    QCOMPARE(device.path, path);
    QCOMPARE(device.refusal.isEmpty(), !path.isEmpty());
}

QTEST_APPLESS_MAIN(TestPortNames)
#include "tst_portnames.moc"
