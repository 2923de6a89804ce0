#include "CodeSymbols.h"

#include <zint.h>

#include <algorithm>
#include <memory>

namespace
{

// A printer's CODE128 data picks its code sets with "{A", "{B", "{C" and doubles a "{"; the
// encoder takes the text and picks its own sets.
QByteArray code128Text(const QByteArray& data)
{
    QByteArray text;
    bool setC = false;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char byte = data[i];
        if (byte == '{' && i + 1 < data.size()) {
            const char next = data[++i];
            if (next == 'A' || next == 'B' || next == 'C')
                setC = next == 'C';
            else if (next == '{')
                text += '{';
            continue;
        }
        if (setC)
            text += QByteArray::number(quint8(byte)).rightJustified(2, '0');
        else
            text += byte;
    }
    return text;
}

int barcodeSymbology(int m)
{
    static const int systems[] = {
        BARCODE_UPCA,     BARCODE_UPCE,     BARCODE_EANX,     BARCODE_EANX,     BARCODE_CODE39,
        BARCODE_C25INTER, BARCODE_CODABAR,  BARCODE_CODE93,   BARCODE_CODE128,  BARCODE_GS1_128,
        BARCODE_DBAR_OMN, BARCODE_DBAR_STK, BARCODE_DBAR_LTD, BARCODE_DBAR_EXP, BARCODE_CODE128};
    if (m >= 0 && m <= 6)
        return systems[m];
    if (m >= 65 && m <= 79)
        return systems[m - 65];
    return 0;
}

using Zint = std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)>;

QImage render(Zint& symbol, const QByteArray& data)
{
    symbol->show_hrt = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    if (data.isEmpty() || ZBarcode_Encode_and_Buffer(symbol.get(), bytes, int(data.size()), 0) >= 5)
        return {};
    QImage image(symbol->bitmap_width, symbol->bitmap_height, QImage::Format_Grayscale8);
    const unsigned char* pixel = symbol->bitmap;
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, pixel += 3)
            line[x] = pixel[0] < 128 ? 0 : 255;
    }
    return image;
}

} // namespace

QImage CodeSymbols::barcode(int m, const QByteArray& data, int moduleDots, int heightDots)
{
    const int symbology = barcodeSymbology(m);
    if (symbology == 0)
        return {};
    Zint symbol(ZBarcode_Create(), &ZBarcode_Delete);
    symbol->symbology = symbology;
    // The encoder draws a module two pixels wide at scale 1.
    symbol->scale = float(std::clamp(moduleDots, 1, 6)) / 2;
    symbol->height = float(std::max(1, heightDots)) / float(std::clamp(moduleDots, 1, 6));
    const bool code128 = symbology == BARCODE_CODE128 || symbology == BARCODE_GS1_128;
    if (symbology == BARCODE_GS1_128)
        symbol->input_mode = GS1_MODE | GS1PARENS_MODE;
    // The encoder draws bars lower than a module taller than asked; the printer would not.
    const QImage bars = render(symbol, code128 ? code128Text(data) : data);
    return bars.height() > heightDots ? bars.copy(0, 0, bars.width(), std::max(1, heightDots))
                                      : bars;
}

QByteArray CodeSymbols::barcodeText(int m, const QByteArray& data)
{
    return m == 73 || m == 79 ? code128Text(data) : data;
}

QImage CodeSymbols::symbol(const Symbol2D& given, const QByteArray& data)
{
    Zint symbol(ZBarcode_Create(), &ZBarcode_Delete);
    switch (given.cn) {
    case 48:
        symbol->symbology = BARCODE_PDF417;
        symbol->option_1 = given.errorLevel - 1; // -1 lets the encoder choose
        symbol->option_2 = given.columns;
        break;
    case 49:
        symbol->symbology = BARCODE_QRCODE;
        symbol->option_1 = given.errorLevel; // 1 L to 4 H
        break;
    case 50:
        symbol->symbology = BARCODE_MAXICODE;
        break;
    case 53:
        symbol->symbology = BARCODE_AZTEC;
        break;
    case 54:
        symbol->symbology = BARCODE_DATAMATRIX;
        break;
    default:
        return {};
    }
    symbol->scale = float(std::clamp(given.moduleDots, 1, 16)) / 2;
    return render(symbol, data);
}
