#pragma once

#include "BlackMarkSettings.h"
#include "PaperPicture.h"
#include "PaperRoll.h"
#include "PicturePrinter.h"
#include "PrinterStreamDecoder.h"

#include <QTextStream>
#include <functional>
#include <map>
#include <memory>
#include <optional>

// The printer's side of every document under way: decodes each as its bytes arrive, prints
// its lines, and at its end its size and the settings the printer then holds. Lines of
// documents that arrive at the same time are told apart by a "document N from ..." line
// before each stretch of one document's lines.
class VirtualPrinterOutput
{
public:
    explicit VirtualPrinterOutput(QTextStream& out) : out_(out) {}

    // Whether requests get the printer's answer.
    void setAnswersStatus(bool answers) { answersStatus_ = answers; }
    // How the printer stands and who it is, for the documents that begin from now on.
    void setCondition(const PrinterCondition& condition) { condition_ = condition; }
    // One printer of several on the same output: its lines name it.
    void setName(const QString& name) { name_ = name; }

    const BlackMarkSettings& settings() const { return settings_; }
    const PrinterCondition& condition() const { return condition_; }
    // How many documents have begun.
    int documents() const { return count_; }

    // What a document printed, as told at its end to whoever shows documents.
    struct EndedDocument {
        int number = 0;
        QString from;
        QStringList lines; // the first ones, within the bounds given with the handler
        int linesLeftOut = 0;
        QString settings;
        QStringList pictures{}; // the files drawn of it, none when pictures are off
    };
    // Tells `handler` of each document at its end, with at most `keptLines` lines and
    // `keptCharacters` characters of what it printed.
    void onDocumentEnded(std::function<void(const EndedDocument&)> handler, int keptLines,
                         int keptCharacters);

    // The roll loaded; plain 80 mm paper unless told.
    void setPaper(const PaperRoll& roll) { paper_.emplace(roll); }
    // Draws each document on its paper into `directory` as document-N.png (or its parts).
    void setPicturesDirectory(const QString& directory) { picturesDirectory_ = directory; }

    // A new document from a sender; returns its number.
    int begin(const QString& from);
    // Decodes the next bytes of a document; returns what the printer answers to them.
    QByteArray take(int document, QByteArrayView bytes);
    // The document is over; `note` says why, when the sender did not end it.
    void end(int document, const QString& note = {});

private:
    struct Document {
        QString from;
        PrinterStreamDecoder decoder;
        qint64 size = 0;
        QStringList kept{}; // for the handler of ended documents
        qsizetype keptCharacters = 0;
        int leftOut = 0;
        std::unique_ptr<PaperPicture> picture{};
        std::unique_ptr<PicturePrinter> printer{};
    };

    void print(int number, Document& document, const QStringList& lines);
    QString heading(int number, const Document& document) const;

    QTextStream& out_;
    BlackMarkSettings settings_;
    PrinterCondition condition_;
    std::map<int, Document> documents_;
    int count_ = 0;
    int shown_ = 0; // the document whose lines were printed last
    QString name_;
    // Printers that share one output: the one whose lines were printed last.
    static inline const VirtualPrinterOutput* shownPrinter_ = nullptr;
    bool answersStatus_ = true;
    std::function<void(const EndedDocument&)> ended_;
    int keptLines_ = 0;
    int keptCharacters_ = 0;
    std::optional<PaperMotion> paper_;
    QString picturesDirectory_;
};
