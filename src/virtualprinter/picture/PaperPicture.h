#pragma once

#include "PaperRoll.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

// A character as the printer's modes make it, for the picture to draw in its cell.
struct PrintedCharacter {
    char32_t code = U' ';
    bool fontB = false;
    int widthTimes = 1;
    int heightTimes = 1;
    bool bold = false;
    int underline = 0; // dots
    bool reverse = false;
    bool upsideDown = false;
};

// The picture of one document's stretch of paper, one pixel a dot, the full paper width wide.
// Rows start at the paper position where the document began. It keeps at most MaxRows rows:
// beyond them it writes a part, split at the last cut when there is one.
class PaperPicture
{
public:
    static constexpr int MaxRows = 2000 * DotsPerMm; // 2 m
    // Parts written at most for one document (2 km); the rest of the paper is not drawn.
    static constexpr int MaxParts = 1000;
    static constexpr int CellWidthA = 12, CellHeightA = 24, CellWidthB = 9, CellHeightB = 17;

    // Writes to `directory`/document-`number`.png, or its parts.
    PaperPicture(const PaperRoll& roll, const QString& directory, int number, int top);

    // `dots` in grayscale: darker than half is a printed dot. Rows above the picture are lost.
    void drawDots(const QImage& dots, int x, int y);
    void drawCharacter(const PrintedCharacter& character, int x, int y);
    void cutAt(int y);
    void printStartAt(int y);
    // The paper has come out as far as `y`.
    void reach(int y);
    // Writes the last part; returns every file written, and `failure` when one could not be.
    QStringList finish(QString& failure);

private:
    enum Colour : uchar { White, Black, Grey, Red, Blue };

    void ensure(int y);
    void writePart(int end, bool last);
    void fill(int x, int y, int width, int height, Colour colour);
    uchar* row(int y) { return pixels_.data() + std::size_t(y - top_) * width_; }

    PaperRoll roll_;
    QString directory_;
    int number_;
    int width_;
    int top_;
    int rows_ = 0;
    std::vector<uchar> pixels_;
    std::vector<int> cuts_, starts_;
    int part_ = 0;
    QStringList written_;
    QString failure_;
};

// The glyph of a character in its cell, white on black cleared: grayscale, 0 is ink.
QImage characterCell(char32_t code, bool fontB, bool bold);
