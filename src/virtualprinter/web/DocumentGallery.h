#pragma once

#include "VirtualPrinterOutput.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// The documents each printer received lately, as the web page shows them. Bounded: the newest
// KeptDocuments per printer, each with at most KeptLines lines and KeptCharacters characters
// of them, and pictures of at most KeptPictureBytes each; what is left out is counted.
class DocumentGallery
{
public:
    static constexpr int KeptDocuments = 50;
    static constexpr int KeptPrinters = 64;
    static constexpr int KeptLines = 1000;
    static constexpr int KeptCharacters = 64 * 1024;
    static constexpr qint64 KeptPictureBytes = 16 * 1024 * 1024;

    // A picture of a document: a PNG file written for it, or PNG bytes held here.
    struct Picture {
        QString path;
        QByteArray png;
    };

    struct Document {
        QString printer; // the address it came to, which names the printer
        int number = 0;  // the printer's own count
        QString from;
        QStringList lines;
        int linesLeftOut = 0;
        QString settings;
        std::vector<Picture> pictures;
    };

    // Keeps a document that has ended; returns its id on the page, counted across printers.
    quint64 documentEnded(Document document);
    // The same, for a document as the printer tells its end.
    quint64 documentEnded(const QString& printer, const VirtualPrinterOutput::EndedDocument& ended,
                          std::vector<Picture> pictures = {});
    // Pictures drawn after the document was kept, for the document with this id.
    bool addPictures(quint64 id, std::vector<Picture> pictures);

    // The documents after `after` (by id), newest first per printer, with the ids still kept
    // so that a page drops the others; as JSON with <, > and & escaped.
    std::string updates(quint64 after) const;
    // The k-th picture (from 0) of a document, as PNG bytes; nothing when there is none.
    std::optional<QByteArray> picture(quint64 id, int k) const;
    quint64 latest() const { return latest_; }

private:
    struct Kept {
        quint64 id;
        Document document;
    };
    struct Printer {
        QString name;
        std::deque<Kept> documents; // oldest first
    };

    std::vector<Printer> printers_;
    quint64 latest_ = 0;
};
