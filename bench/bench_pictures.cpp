// How long the virtual printer takes to draw a receipt and write its picture. Prints one
// "name: value unit" line per figure.
#include "VirtualPrinterOutput.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

// 100 lines, a raster logo of 256 x 96 dots, a CODE128 barcode and a QR Code, then a cut.
QByteArray receipt()
{
    QByteArray document = QByteArray::fromHex("1B401B6101");
    document += QByteArray::fromHex("1D7630002000") + char(96) + char(0);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 32; ++x)
            document += char((x + y / 8) % 2 ? 0xF0 : 0x0F);
    document += QByteArray::fromHex("1B6100");
    for (int line = 1; line <= 100; ++line)
        document += QStringLiteral("%1 ITEM %2  COFFEE      2.50\n")
                        .arg(line, 3)
                        .arg(line * 7 % 1000, 4, 10, QLatin1Char('0'))
                        .toLatin1();
    document += QByteArray::fromHex("1B61011D48021D6B490C") + "{B0042-1250";
    const QByteArray url = "https://example.invalid/receipt/0042";
    document += QByteArray::fromHex("1D286B030031430A1D286B") + char(url.size() + 3) + '\0' +
                "1P0" + url + QByteArray::fromHex("1D286B0300315130");
    return document + QByteArray::fromHex("0A1D564100");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QByteArray document = receipt();
    QTemporaryDir directory;
    QString text;
    QTextStream out(&text);
    VirtualPrinterOutput output(out);
    output.setPicturesDirectory(directory.path());
    std::vector<double> times;
    for (int run = 0; run < 21; ++run) {
        QElapsedTimer timer;
        timer.start();
        const int number = output.begin(QStringLiteral("bench"));
        output.take(number, document);
        output.end(number);
        times.push_back(timer.nsecsElapsed() / 1e6);
        text.clear();
    }
    const double first = times.front();
    std::sort(times.begin() + 1, times.end());
    std::printf("picture of a 100-line receipt with logo, barcode, QR Code (first): %.1f ms\n",
                first);
    std::printf("picture of a 100-line receipt with logo, barcode, QR Code (median of 20): "
                "%.1f ms\n",
                times[11]);
    return 0;
}
