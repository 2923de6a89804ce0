#pragma once

#include "BlackMarkSettings.h"
#include "CodeSymbols.h"
#include "PaperPicture.h"
#include "PaperRoll.h"
#include "PrinterStreamDecoder.h"

#include <QByteArray>
#include <QImage>
#include <map>
#include <memory>
#include <vector>

// The printer's state while one document prints: its modes, the line being gathered and the
// paper's motion. It acts on each command as it ends and tells the picture what to draw where.
class PicturePrinter : public CommandListener
{
public:
    // A command's bytes kept to act on it; a larger one is left out of the picture.
    static constexpr qsizetype LargestCommand = 8 * 1024 * 1024;

    PicturePrinter(const BlackMarkSettings& settings, PaperMotion& paper, PaperPicture& picture);

    void commandBegins(const CommandFrame& frame) override;
    void commandBytes(QByteArrayView bytes) override;
    void commandEnds(bool whole) override;

    // Where the next character goes, in dots from the left of the printing area.
    int column() const { return column_; }

private:
    struct Modes {
        bool fontB = false;
        bool bold = false;
        int underline = 0;
        int widthTimes = 1, heightTimes = 1;
        bool reverse = false, upsideDown = false;
        int justification = 0;
        int leftMargin = 0;
        int areaWidth = 0; // 0: the whole printable width
        int lineSpacing = 30;
        int characterSpacing = 0;
        int codeTable = 0;
        int barcodeText = 0, barcodeFontB = 0, barcodeHeight = 162, barcodeModule = 3;
    };
    struct Item {
        int x = 0, width = 0, height = 0;
        PrintedCharacter character;
        QImage dots; // null for a character
    };

    void act(QByteArrayView command);
    void actEsc(QByteArrayView command);
    void actGs(QByteArrayView command);
    void character(quint8 byte);
    void place(Item item);
    void printLine(bool feeds = true);
    void printBlock(const QImage& dots);
    void gap();
    void cut();
    void follow();
    PaperMotion::Adjustments adjustments(bool layoutFamily) const;
    int areaLeft() const;
    int areaWidth() const;
    void graphics(QByteArrayView body);
    void twoD(QByteArrayView body);
    void barcode(QByteArrayView command);
    void bitImage(QByteArrayView command);
    void rasterImage(QByteArrayView command);
    QImage text(const QByteArray& text, bool fontB) const;

    const BlackMarkSettings& settings_;
    PaperMotion& paper_;
    PaperPicture& picture_;
    Modes modes_;
    CommandFrame::Layout layout_ = CommandFrame::Layout::Fixed;
    QByteArray command_;
    bool tooLarge_ = false;
    std::vector<Item> line_;
    int column_ = 0;
    QImage bufferedGraphics_;
    std::map<int, QImage> storedGraphics_;
    std::map<int, CodeSymbols::Symbol2D> symbols_;
    std::map<int, QByteArray> symbolData_;
};
