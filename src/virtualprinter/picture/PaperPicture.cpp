#include "PaperPicture.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>

namespace
{

constexpr int CutThickness = 2;
constexpr int TickThickness = 3;
constexpr int MinimumRows = 8;

QFont cellFont(bool fontB)
{
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("monospace") : families.first();
    }();
    QFont font(family);
    // Fitted so that a glyph's advance fills the cell's width and its height stays inside.
    font.setPixelSize(fontB ? 15 : 20);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace

QImage characterCell(char32_t code, bool fontB, bool bold)
{
    static QHash<quint64, QImage> cells;
    const quint64 key = quint64(code) << 2 | quint64(fontB) << 1 | quint64(bold);
    if (const auto found = cells.constFind(key); found != cells.constEnd())
        return *found;
    const int width = fontB ? PaperPicture::CellWidthB : PaperPicture::CellWidthA;
    const int height = fontB ? PaperPicture::CellHeightB : PaperPicture::CellHeightA;
    QImage cell(width, height, QImage::Format_Grayscale8);
    cell.fill(255);
    QPainter painter(&cell);
    painter.setFont(cellFont(fontB));
    painter.setPen(Qt::black);
    const QString text = QString::fromUcs4(&code, 1);
    painter.drawText(QRect(0, 0, width, height), Qt::AlignHCenter | Qt::AlignBottom, text);
    if (bold) // struck twice, one dot apart, as the head does
        painter.drawText(QRect(1, 0, width, height), Qt::AlignHCenter | Qt::AlignBottom, text);
    painter.end();
    if (cells.size() < 4096)
        cells.insert(key, cell);
    return cell;
}

PaperPicture::PaperPicture(const PaperRoll& roll, const QString& directory, int number, int top)
    : roll_(roll), directory_(directory), number_(number), width_(roll.widthDots()), top_(top)
{
}

void PaperPicture::ensure(int y)
{
    while (y - top_ >= MaxRows) {
        // Split at the last cut that leaves something before it, else at 2 m.
        const auto cut = std::find_if(cuts_.rbegin(), cuts_.rend(),
                                      [this](int at) { return at > top_ && at < top_ + MaxRows; });
        writePart(cut != cuts_.rend() ? *cut : top_ + MaxRows, false);
    }
    if (y - top_ >= rows_) {
        const int rows = y - top_ + 1;
        pixels_.resize(std::size_t(rows) * width_, White);
        rows_ = rows;
    }
}

void PaperPicture::fill(int x, int y, int width, int height, Colour colour)
{
    const int left = std::clamp(x, 0, width_), right = std::clamp(x + width, 0, width_);
    for (int at = std::max(y, top_); at < y + height && at < top_ + rows_; ++at)
        std::fill(row(at) + left, row(at) + right, colour);
}

void PaperPicture::drawDots(const QImage& dots, int x, int y)
{
    if (dots.isNull() || y + dots.height() <= top_)
        return;
    ensure(y + dots.height() - 1);
    // One bit a dot stays so; anything else is read as grayscale.
    const bool mono = dots.format() == QImage::Format_Mono;
    const QImage image = mono ? dots : dots.convertToFormat(QImage::Format_Grayscale8);
    const bool inkIsOne = mono && image.colorCount() > 1 && qGray(image.color(1)) < 128;
    for (int line = std::max(0, top_ - y); line < image.height(); ++line) {
        const uchar* from = image.constScanLine(line);
        uchar* to = row(y + line);
        for (int column = std::max(0, -x); column < image.width() && x + column < width_;
             ++column) {
            const bool ink = mono ? bool(from[column >> 3] >> (7 - (column & 7)) & 1) == inkIsOne
                                  : from[column] < 128;
            if (ink)
                to[x + column] = Black;
        }
    }
}

void PaperPicture::drawCharacter(const PrintedCharacter& character, int x, int y)
{
    QImage cell = characterCell(character.code, character.fontB, character.bold);
    if (character.underline > 0) {
        const int thickness = std::min(character.underline, 2);
        for (int line = cell.height() - thickness; line < cell.height(); ++line)
            std::fill_n(cell.scanLine(line), cell.width(), uchar(0));
    }
    if (character.reverse)
        cell.invertPixels();
    if (character.upsideDown)
        cell = cell.mirrored(true, true);
    if (character.widthTimes > 1 || character.heightTimes > 1)
        cell =
            cell.scaled(cell.width() * character.widthTimes, cell.height() * character.heightTimes,
                        Qt::IgnoreAspectRatio, Qt::FastTransformation);
    drawDots(cell, x, y);
}

void PaperPicture::cutAt(int y)
{
    reach(y + CutThickness / 2);
    cuts_.push_back(y);
}

void PaperPicture::printStartAt(int y)
{
    reach(y + TickThickness);
    starts_.push_back(y);
}

void PaperPicture::reach(int y)
{
    if (y > top_)
        ensure(y - 1);
}

void PaperPicture::writePart(int end, bool last)
{
    const int rows = std::clamp(end - top_, MinimumRows, MaxRows);
    ensure(top_ + rows - 1);
    // The paper's own marks and what the printer did on it, over what was printed.
    const int margin = roll_.leftMarginDots();
    for (const PaperRoll::Span& mark : roll_.marksBetween(top_, top_ + rows)) {
        if (roll_.kind == PaperRoll::Kind::BlackMark) {
            fill(0, mark.from, margin, mark.to - mark.from, Black);
        } else {
            fill(0, mark.from, width_, 1, Grey);
            fill(0, mark.to - 1, width_, 1, Grey);
        }
    }
    for (int at : starts_)
        fill(width_ - margin + 4, at, margin - 4, TickThickness, Blue);
    for (int at : cuts_)
        fill(0, at - CutThickness / 2, width_, CutThickness, Red);

    const bool whole = last && part_ == 0;
    ++part_;
    const QString name = whole ? QStringLiteral("document-%1.png").arg(number_)
                               : QStringLiteral("document-%1-part-%2.png").arg(number_).arg(part_);
    const QString path = directory_ + u'/' + name;
    QImage image(pixels_.data(), width_, rows, width_, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(160, 160, 160), qRgb(255, 0, 0),
                         qRgb(0, 0, 255)});
    if (part_ > MaxParts) {
        failure_ =
            QStringLiteral("more than %1 parts; the rest of the paper is not drawn").arg(MaxParts);
    } else {
        QImageWriter writer(path, "png");
        writer.setCompression(1); // fast: the pictures are mostly white
        if (writer.write(image))
            written_ << path;
        else if (failure_.isEmpty())
            failure_ = path + QStringLiteral(": ") + writer.errorString();
    }

    // What is left starts the next part.
    pixels_.erase(pixels_.begin(), pixels_.begin() + std::ptrdiff_t(rows) * width_);
    rows_ -= rows;
    top_ += rows;
    std::erase_if(cuts_, [this](int at) { return at < top_; });
    std::erase_if(starts_, [this](int at) { return at < top_; });
}

QStringList PaperPicture::finish(QString& failure)
{
    writePart(top_ + rows_, true);
    failure = failure_;
    return written_;
}
