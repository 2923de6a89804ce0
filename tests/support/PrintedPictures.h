#pragma once

#include "PaperRoll.h"
#include "VirtualPrinterOutput.h"

#include <QImage>
#include <QList>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

// Prints `document` on `roll` in pieces of `piece` bytes (all at once when 0), as a virtual
// printer with pictures on takes it; the pictures written, one pixel a dot, with their names.
inline QList<QImage> printedPictures(const PaperRoll& roll, QByteArrayView document, int piece = 0,
                                     QStringList* names = nullptr)
{
    QString text;
    QTextStream out(&text);
    VirtualPrinterOutput output(out);
    output.setPaper(roll);
    QTemporaryDir directory;
    output.setPicturesDirectory(directory.path());
    QStringList files;
    output.onDocumentEnded(
        [&files](const VirtualPrinterOutput::EndedDocument& ended) { files = ended.pictures; }, 0,
        0);
    const int number = output.begin(QStringLiteral("test"));
    const qsizetype step = piece > 0 ? piece : document.size();
    for (qsizetype at = 0; at < document.size(); at += step)
        output.take(number, document.sliced(at).first(std::min(step, document.size() - at)));
    output.end(number);
    QList<QImage> pictures;
    for (const QString& file : files) {
        pictures << QImage(file).convertToFormat(QImage::Format_RGB32);
        if (names)
            *names << file.section(u'/', -1);
    }
    return pictures;
}
