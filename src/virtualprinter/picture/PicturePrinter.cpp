#include "PicturePrinter.h"

#include <QStringDecoder>
#include <algorithm>

namespace
{

using Layout = CommandFrame::Layout;

constexpr quint8 ESC = 0x1B, GS = 0x1D, FS = 0x1C;
// What the printer keeps of the graphics it is sent to store.
constexpr int StoredGraphicsLimit = 16;
constexpr qsizetype StoredGraphicsBytes = 4 * 1024 * 1024;

quint8 at(QByteArrayView bytes, qsizetype index)
{
    return index < bytes.size() ? quint8(bytes[index]) : 0;
}

int word(QByteArrayView bytes, qsizetype index)
{
    return at(bytes, index) | at(bytes, index + 1) << 8;
}

// Code page 437's upper half; the lower half is ASCII.
const char16_t Cp437[] = u"ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
                         u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";

// The character that `byte` stands for in character code table `table` (ESC t): code page 437
// where the table is not one the system can decode.
char32_t decoded(int table, quint8 byte)
{
    if (byte < 0x80)
        return byte;
    static const std::map<int, const char*> pages{
        {2, "IBM850"},        {3, "IBM860"},  {4, "IBM863"},  {5, "IBM865"},
        {16, "windows-1252"}, {17, "IBM866"}, {18, "IBM852"}, {19, "IBM00858"}};
    static std::map<int, std::u32string> upperHalves;
    auto half = upperHalves.find(table);
    if (half == upperHalves.end()) {
        std::u32string characters(std::begin(Cp437), std::end(Cp437) - 1);
        const auto page = pages.find(table);
        QStringDecoder decoder(page != pages.end() ? page->second : "");
        for (int i = 0; decoder.isValid() && i < 0x80; ++i) {
            const char code = char(0x80 + i);
            const QString text = decoder(QByteArrayView(&code, 1));
            if (text.size() == 1 && text[0] != QChar::ReplacementCharacter)
                characters[i] = text[0].unicode();
        }
        half = upperHalves.emplace(table, characters).first;
    }
    return half->second[byte - 0x80];
}

// Rows of bits, most significant first, one a dot, kept one bit a dot: a tall image stays small.
QImage rasterDots(QByteArrayView bits, int widthBytes, int height, int xTimes, int yTimes)
{
    if (widthBytes <= 0 || height <= 0 || bits.size() < qsizetype(widthBytes) * height)
        return {};
    QImage image(widthBytes * 8, height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < height; ++y)
        std::copy_n(bits.data() + qsizetype(y) * widthBytes, widthBytes, image.scanLine(y));
    if (xTimes == 1 && yTimes == 1)
        return image;
    return image.scaled(image.width() * xTimes, image.height() * yTimes, Qt::IgnoreAspectRatio,
                        Qt::FastTransformation);
}

} // namespace

PicturePrinter::PicturePrinter(const BlackMarkSettings& settings, PaperMotion& paper,
                               PaperPicture& picture)
    : settings_(settings), paper_(paper), picture_(picture)
{
}

void PicturePrinter::commandBegins(const CommandFrame& frame)
{
    layout_ = frame.layout;
    command_.clear();
    tooLarge_ = false;
}

void PicturePrinter::commandBytes(QByteArrayView bytes)
{
    if (layout_ == Layout::Text || layout_ == Layout::Unknown) {
        for (const char byte : bytes) {
            if (quint8(byte) >= 0x20)
                character(quint8(byte));
        }
        return;
    }
    if (command_.size() + bytes.size() > LargestCommand) {
        tooLarge_ = true;
        command_.clear();
        command_.squeeze();
    }
    if (!tooLarge_)
        command_.append(bytes);
}

void PicturePrinter::commandEnds(bool whole)
{
    if (layout_ == Layout::Text || layout_ == Layout::Unknown)
        return;
    if (tooLarge_)
        gap();
    else if (whole)
        act(command_);
    command_.clear();
    if (command_.capacity() > 4096)
        command_.squeeze();
    follow();
}

void PicturePrinter::act(QByteArrayView command)
{
    switch (at(command, 0)) {
    case 0x0A:
        printLine();
        break;
    case 0x09: {
        const int tab = 8 * (modes_.fontB ? PaperPicture::CellWidthB : PaperPicture::CellWidthA);
        column_ = std::min(areaWidth(), (column_ / tab + 1) * tab);
        break;
    }
    case ESC:
        actEsc(command);
        break;
    case GS:
        actGs(command);
        break;
    case FS:
        if (at(command, 1) == '(' && at(command, 2) == 'L' && command.size() == 7 &&
            at(command, 5) >= 0x41 && at(command, 5) <= 0x43) {
            printLine(false);
            const bool again = at(command, 6) == 0x30;
            const PaperMotion::Adjustments adjustments = this->adjustments(true);
            if (at(command, 5) == 0x41)
                paper_.toPeel(adjustments, again);
            else if (at(command, 5) == 0x42)
                paper_.toCut(adjustments, again);
            else
                paper_.toPrintStart(adjustments, again);
        } else if (at(command, 1) == 'p') {
            gap(); // the stored logo is not known here
        }
        break;
    default:
        break;
    }
}

void PicturePrinter::actEsc(QByteArrayView command)
{
    const quint8 n = at(command, 2);
    switch (at(command, 1)) {
    case ' ':
        modes_.characterSpacing = n;
        break;
    case '!':
        modes_.fontB = n & 1;
        modes_.bold = n & 8;
        modes_.heightTimes = n & 16 ? 2 : 1;
        modes_.widthTimes = n & 32 ? 2 : 1;
        modes_.underline = n & 128 ? 1 : 0;
        break;
    case '$':
        column_ = std::min(word(command, 2), areaWidth());
        break;
    case '\\':
        column_ = std::clamp(column_ + qint16(word(command, 2)), 0, areaWidth());
        break;
    case '-':
        modes_.underline = n % 48 <= 2 ? n % 48 : 0;
        break;
    case '2':
        modes_.lineSpacing = 30;
        break;
    case '3':
        modes_.lineSpacing = n;
        break;
    case '@':
        printLine(false);
        modes_ = Modes();
        break;
    case 'E':
    case 'G':
        modes_.bold = n & 1;
        break;
    case 'J':
        printLine(false);
        paper_.feed(n);
        break;
    case 'M':
        modes_.fontB = n % 48 == 1;
        break;
    case 'a':
        modes_.justification = n % 48 <= 2 ? n % 48 : 0;
        break;
    case 'd':
    case 'e': {
        printLine(false);
        const int dots = n * modes_.lineSpacing;
        paper_.feed(at(command, 1) == 'd' ? dots : -dots);
        break;
    }
    case 'i':
    case 'm':
        cut();
        break;
    case 't':
        modes_.codeTable = n;
        break;
    case '{':
        modes_.upsideDown = n & 1;
        break;
    case '*':
        bitImage(command);
        break;
    default:
        break;
    }
}

void PicturePrinter::actGs(QByteArrayView command)
{
    const quint8 n = at(command, 2);
    switch (at(command, 1)) {
    case 0x0C: // GS FF
        printLine(false);
        paper_.toPrintStart(adjustments(false));
        break;
    case '!':
        modes_.widthTimes = (n >> 4 & 7) + 1;
        modes_.heightTimes = (n & 7) + 1;
        break;
    case 'B':
        modes_.reverse = n & 1;
        break;
    case 'H':
        modes_.barcodeText = n % 48 <= 3 ? n % 48 : 0;
        break;
    case 'f':
        modes_.barcodeFontB = n % 48 == 1;
        break;
    case 'h':
        modes_.barcodeHeight = std::max<int>(1, n);
        break;
    case 'w':
        modes_.barcodeModule = std::clamp<int>(n, 1, 6);
        break;
    case 'L':
        modes_.leftMargin = word(command, 2);
        break;
    case 'W':
        modes_.areaWidth = word(command, 2);
        break;
    case 'V': {
        printLine(false);
        const bool feeds = command.size() == 4;
        if (feeds) {
            paper_.toCut(adjustments(false));
            paper_.feed(at(command, 3));
        }
        cut();
        if (feeds && (n == 0x61 || n == 0x62))
            paper_.toPrintStart(adjustments(false));
        break;
    }
    case 'v':
        rasterImage(command);
        break;
    case 'k':
        barcode(command);
        break;
    case '(':
        if (n == 'L' && command.size() >= 7)
            graphics(command.sliced(5));
        else if (n == 'k' && command.size() >= 7)
            twoD(command.sliced(5));
        break;
    case '8':
        if (n == 'L' && command.size() >= 9)
            graphics(command.sliced(7));
        break;
    case '/':
        gap(); // no bit image was stored in a way this printer keeps
        break;
    default:
        break;
    }
}

PaperMotion::Adjustments PicturePrinter::adjustments(bool layoutFamily) const
{
    PaperMotion::Adjustments adjustments;
    const bool layoutSet = settings_.layout && settings_.layout->kind != PaperLayout::Kind::None;
    if (layoutFamily ? (layoutSet || !settings_.functionOn) : !settings_.functionOn.has_value()) {
        const auto dots = [this](PaperLayout::Field field) {
            return dotsFromTenths(settings_.layout->fields[field].value_or(0));
        };
        adjustments.marksUsed = layoutSet;
        if (layoutSet) {
            adjustments.printStart = dots(PaperLayout::PrintStart);
            adjustments.cut = dots(PaperLayout::Cut);
            adjustments.peel = dots(PaperLayout::LabelBottom);
        }
        return adjustments;
    }
    const auto signedCount = [](const std::optional<PositionAdjustment>& position) {
        return position ? (position->backfeed ? -position->count : position->count) : 0;
    };
    adjustments.marksUsed = settings_.functionOn.value_or(false);
    adjustments.printStart = signedCount(settings_.printStart);
    adjustments.cut = signedCount(settings_.cutPosition);
    return adjustments;
}

int PicturePrinter::areaLeft() const
{
    return paper_.roll().leftMarginDots() +
           std::min(modes_.leftMargin, paper_.roll().printableDots() - 1);
}

int PicturePrinter::areaWidth() const
{
    const int room = paper_.roll().leftMarginDots() + paper_.roll().printableDots() - areaLeft();
    return modes_.areaWidth > 0 ? std::min(modes_.areaWidth, room) : room;
}

void PicturePrinter::character(quint8 byte)
{
    const int cellWidth = modes_.fontB ? PaperPicture::CellWidthB : PaperPicture::CellWidthA;
    const int cellHeight = modes_.fontB ? PaperPicture::CellHeightB : PaperPicture::CellHeightA;
    Item item;
    item.character = {decoded(modes_.codeTable, byte),
                      modes_.fontB,
                      modes_.widthTimes,
                      modes_.heightTimes,
                      modes_.bold,
                      modes_.underline,
                      modes_.reverse,
                      modes_.upsideDown};
    item.width = (cellWidth + modes_.characterSpacing) * modes_.widthTimes;
    item.height = cellHeight * modes_.heightTimes;
    place(std::move(item));
}

void PicturePrinter::place(Item item)
{
    // A line that is full prints, and the item starts the next one.
    if (column_ + item.width > areaWidth() && !line_.empty())
        printLine();
    item.x = column_;
    column_ += item.width;
    if (item.x < areaWidth())
        line_.push_back(std::move(item));
}

void PicturePrinter::printLine(bool feeds)
{
    if (line_.empty()) {
        column_ = 0;
        if (feeds)
            paper_.feed(modes_.lineSpacing);
        return;
    }
    int height = 0;
    int right = 0;
    for (const Item& item : line_) {
        height = std::max(height, item.height);
        right = std::max(right, item.x + item.width);
    }
    const int width = areaWidth();
    const int shift = std::max(0, width - right) * modes_.justification / 2;
    const int y = paper_.position();
    for (const Item& item : line_) {
        int x = item.x + shift;
        if (modes_.upsideDown)
            x = width - x - item.width;
        x += areaLeft();
        const int top = modes_.upsideDown ? y : y + height - item.height;
        if (item.dots.isNull())
            picture_.drawCharacter(item.character, x, top);
        else
            picture_.drawDots(modes_.upsideDown ? item.dots.mirrored(true, true) : item.dots, x,
                              top);
    }
    line_.clear();
    column_ = 0;
    paper_.feed(std::max(height, feeds ? modes_.lineSpacing : height));
}

void PicturePrinter::printBlock(const QImage& dots)
{
    printLine(false);
    if (dots.isNull()) {
        gap();
        return;
    }
    const int width = areaWidth();
    const int x = areaLeft() + std::max(0, width - dots.width()) * modes_.justification / 2;
    // Nothing prints beyond the printing area.
    picture_.drawDots(dots.width() > width ? dots.copy(0, 0, width, dots.height()) : dots, x,
                      paper_.position());
    paper_.feed(dots.height());
}

void PicturePrinter::gap()
{
    printLine(false);
    paper_.feed(PaperPicture::CellHeightA);
}

void PicturePrinter::cut()
{
    printLine(false);
    paper_.cut();
}

void PicturePrinter::follow()
{
    for (const PaperMotion::Happened& happened : paper_.takeHappened()) {
        if (happened.event == PaperMotion::Event::Cut)
            picture_.cutAt(happened.at);
        else
            picture_.printStartAt(happened.at);
    }
    picture_.reach(paper_.position());
}

void PicturePrinter::bitImage(QByteArrayView command)
{
    const quint8 m = at(command, 2);
    const int columns = word(command, 3);
    const bool tall = m >= 32;
    const int xTimes = m == 0 || m == 32 ? 2 : 1;
    const int yTimes = tall ? 1 : 3;
    const int rows = tall ? 24 : 8;
    const QByteArrayView data = command.sliced(std::min<qsizetype>(5, command.size()));
    if (data.size() < qsizetype(columns) * (tall ? 3 : 1) || columns == 0)
        return;
    QImage image(columns, rows, QImage::Format_Grayscale8);
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < rows; ++y) {
            const quint8 byte = at(data, qsizetype(x) * (tall ? 3 : 1) + y / 8);
            image.scanLine(y)[x] = (byte >> (7 - y % 8)) & 1 ? 0 : 255;
        }
    }
    Item item;
    item.dots = image.scaled(columns * xTimes, rows * yTimes, Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
    item.width = item.dots.width();
    item.height = item.dots.height();
    place(std::move(item));
}

void PicturePrinter::rasterImage(QByteArrayView command)
{
    const quint8 m = at(command, 3) % 48;
    printBlock(rasterDots(command.sliced(std::min<qsizetype>(8, command.size())), word(command, 4),
                          word(command, 6), m & 1 ? 2 : 1, m & 2 ? 2 : 1));
}

// GS ( L and GS 8 L after their length: m fn and the function's parameters.
void PicturePrinter::graphics(QByteArrayView body)
{
    const quint8 fn = at(body, 1);
    // m fn a bx by c xL xH yL yH and the dots, or m fn a kc1 kc2 b xL xH yL yH c for one kept
    const auto image = [&](qsizetype header) {
        const int width = word(body, 6), height = word(body, 8);
        const int xTimes = header == 10 ? std::clamp<int>(at(body, 3), 1, 2) : 1;
        const int yTimes = header == 10 ? std::clamp<int>(at(body, 4), 1, 2) : 1;
        return rasterDots(body.sliced(std::min(header, body.size())), (width + 7) / 8, height,
                          xTimes, yTimes);
    };
    switch (fn) {
    case 112:
        bufferedGraphics_ = image(10);
        break;
    case 50:
        printBlock(std::exchange(bufferedGraphics_, {}));
        break;
    case 67:
    case 83: {
        const int key = word(body, 3) | (fn == 83 ? 1 << 16 : 0);
        storedGraphics_.erase(key);
        qsizetype kept = 0;
        for (const auto& [stored, dots] : storedGraphics_)
            kept += dots.sizeInBytes();
        const QImage dots = image(11);
        if (storedGraphics_.size() < StoredGraphicsLimit &&
            kept + dots.sizeInBytes() <= StoredGraphicsBytes)
            storedGraphics_[key] = dots;
        break;
    }
    case 69:
    case 85: {
        const auto found = storedGraphics_.find(word(body, 2) | (fn == 85 ? 1 << 16 : 0));
        QImage dots = found != storedGraphics_.end() ? found->second : QImage();
        const int xTimes = std::clamp<int>(at(body, 4), 1, 2),
                  yTimes = std::clamp<int>(at(body, 5), 1, 2);
        if (!dots.isNull() && (xTimes > 1 || yTimes > 1))
            dots = dots.scaled(dots.width() * xTimes, dots.height() * yTimes, Qt::IgnoreAspectRatio,
                               Qt::FastTransformation);
        printBlock(dots);
        break;
    }
    default:
        break;
    }
}

// GS ( k after its length: cn fn and the function's parameters.
void PicturePrinter::twoD(QByteArrayView body)
{
    const int cn = at(body, 0);
    const quint8 fn = at(body, 1);
    const quint8 n = at(body, 2);
    if (cn != 48 && cn != 49 && cn != 50 && cn != 53 && cn != 54) {
        if (fn == 81)
            gap();
        return;
    }
    CodeSymbols::Symbol2D& symbol = symbols_[cn];
    symbol.cn = cn;
    switch (fn) {
    case 65:
        if (cn == 48)
            symbol.columns = std::min<int>(n, 30);
        break;
    case 67:
        symbol.moduleDots = std::clamp<int>(n, 1, 16);
        break;
    case 69:
        if (cn == 49)
            symbol.errorLevel = n >= 48 && n <= 51 ? n - 47 : 0;
        else if (cn == 48 && at(body, 2) == 48)
            symbol.errorLevel = std::clamp<int>(at(body, 3) - 48, 0, 8) + 1; // level 0 too
        break;
    case 80:
        symbolData_[cn] = body.sliced(std::min<qsizetype>(3, body.size())).toByteArray();
        break;
    case 81:
        printBlock(CodeSymbols::symbol(symbol, symbolData_[cn]));
        break;
    default:
        break;
    }
}

QImage PicturePrinter::text(const QByteArray& text, bool fontB) const
{
    const int cellWidth = fontB ? PaperPicture::CellWidthB : PaperPicture::CellWidthA;
    const int cellHeight = fontB ? PaperPicture::CellHeightB : PaperPicture::CellHeightA;
    QImage image(int(text.size()) * cellWidth, cellHeight, QImage::Format_Grayscale8);
    image.fill(255);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QImage cell = characterCell(decoded(modes_.codeTable, quint8(text[i])), fontB, false);
        for (int y = 0; y < cellHeight; ++y)
            std::copy_n(cell.constScanLine(y), cellWidth, image.scanLine(y) + i * cellWidth);
    }
    return image;
}

void PicturePrinter::barcode(QByteArrayView command)
{
    const quint8 m = at(command, 2);
    if (command.size() < 4) { // a system it does not know
        gap();
        return;
    }
    const QByteArray data =
        m <= 6 ? command.sliced(3).chopped(1).toByteArray() : command.sliced(4).toByteArray();
    const QImage bars = CodeSymbols::barcode(m, data, modes_.barcodeModule, modes_.barcodeHeight);
    if (bars.isNull()) {
        printBlock(bars);
        return;
    }
    const bool fontB = modes_.barcodeFontB;
    const QImage words = text(CodeSymbols::barcodeText(m, data), fontB);
    if (modes_.barcodeText & 1)
        printBlock(words);
    printBlock(bars);
    if (modes_.barcodeText & 2)
        printBlock(words);
}
