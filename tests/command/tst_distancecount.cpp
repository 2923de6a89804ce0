#include "DistanceCount.h"

#include <QTest>
#include <clocale>

class TestDistanceCount : public QObject
{
    Q_OBJECT

private slots:
    void countsBoxText_data();
    void countsBoxText();
    void countsBoxTextUnderCommaLocale_data() { countsBoxText_data(); }
    void countsBoxTextUnderCommaLocale();
    void cleanup() { std::setlocale(LC_ALL, "C"); }

private:
    void checkRow();
};

void TestDistanceCount::countsBoxText_data()
{
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<int>("count"); // -1: refused
    QTest::addColumn<QString>("tokens");

    const auto row = [](const char* text, int count, const char* tokens) {
        QTest::newRow(text) << QString::fromUtf8(text) << count << QString::fromLatin1(tokens);
    };
    row("300", 2400, "60 9");
    row("10", 80, "50 0");
    row("0", 0, "0 0");
    row("", 0, "0 0");
    row("abc", 0, "0 0");
    row("12.5mm", 100, "64 0");
    row("1,5", 8, "8 0");
    row("2 5", 200, "C8 0");
    row("0.0625", 0, "0 0");
    row("0.1875", 2, "2 0");
    row("0.3125", 2, "2 0");
    row("4095.875", 32767, "FF 7F");
    row("32", 256, "0 1");
    row("1e2", 800, "20 3");
    row("1E+2", 800, "20 3");
    row("25e-1", 20, "14 0");
    row("+3", 24, "18 0");
    row(".5", 4, "4 0");
    row("5.", 40, "28 0");
    row("1e", 8, "8 0");
    row("1e+", 8, "8 0");
    row("3 . 5", 28, "1C 0");
    row(" \t\n12\t", 96, "60 0");
    row("12\r3", 96, "60 0"); // a carriage return is no blank: it ends the number
    row("1.2.3", 10, "A 0");
    row("0x10", 0, "0 0");
    row("-0.0625", 0, "0 0");
    row("1e-400", 0, "0 0");
    row("4095.9375", -1, "");
    row("5000", -1, "");
    row("1e400", -1, "");
    row("-1", -1, "");
    row("- 1", -1, "");
    row("-31.9375", -1, "");
}

void TestDistanceCount::checkRow()
{
    QFETCH(QString, boxText);
    QFETCH(int, count);
    QFETCH(QString, tokens);
    const std::optional<int> counted = DistanceCount::fromBoxText(boxText);
    if (count < 0) {
        QVERIFY2(!counted, qPrintable(QString::number(counted.value_or(0))));
        return;
    }
    QVERIFY(counted);
    QCOMPARE(*counted, count);
    QCOMPARE(DistanceCount::tokens(*counted), tokens);
}

void TestDistanceCount::countsBoxText()
{
    checkRow();
}

void TestDistanceCount::countsBoxTextUnderCommaLocale()
{
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        QSKIP("no de_DE.UTF-8 locale on this machine");
    QCOMPARE(std::localeconv()->decimal_point, ",");
    checkRow();
}

QTEST_APPLESS_MAIN(TestDistanceCount)
#include "tst_distancecount.moc"
