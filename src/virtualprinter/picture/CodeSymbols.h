#pragma once

#include <QByteArray>
#include <QImage>

// Barcodes and 2D codes drawn as a printer prints them, in grayscale with 0 for ink; a null
// image when the data does not make a symbol of that system.
namespace CodeSymbols
{

// GS k system `m`, modules `moduleDots` wide, bars `heightDots` high, without text.
QImage barcode(int m, const QByteArray& data, int moduleDots, int heightDots);

// The text printed with the bars: CODE128's code set choices left out.
QByteArray barcodeText(int m, const QByteArray& data);

// What GS ( k sets for a 2D code before it is printed.
struct Symbol2D {
    int cn = 49;        // 48 PDF417, 49 QR Code, 50 MaxiCode, 53 Aztec, 54 Data Matrix
    int moduleDots = 3; // QR Code's size, the others' module width
    int errorLevel = 0; // QR Code's 1 L to 4 H, PDF417's level + 1; 0 leaves it to the encoder
    int columns = 0;    // PDF417 only; 0 lets the encoder choose
};
QImage symbol(const Symbol2D& symbol, const QByteArray& data);

} // namespace CodeSymbols
