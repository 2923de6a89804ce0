#include "VirtualPrinterOutput.h"

void VirtualPrinterOutput::onDocumentEnded(std::function<void(const EndedDocument&)> handler,
                                           int keptLines, int keptCharacters)
{
    ended_ = std::move(handler);
    keptLines_ = keptLines;
    keptCharacters_ = keptCharacters;
}

int VirtualPrinterOutput::begin(const QString& from)
{
    Document& document =
        documents_
            .try_emplace(++count_,
                         Document{from, PrinterStreamDecoder(settings_, condition_), 0, {}, {}})
            .first->second;
    if (!picturesDirectory_.isEmpty()) {
        if (!paper_)
            paper_.emplace(PaperRoll());
        document.picture = std::make_unique<PaperPicture>(paper_->roll(), picturesDirectory_,
                                                          count_, paper_->position());
        document.printer = std::make_unique<PicturePrinter>(settings_, *paper_, *document.picture);
        document.decoder.setListener(document.printer.get());
    }
    return count_;
}

QByteArray VirtualPrinterOutput::take(int number, QByteArrayView bytes)
{
    const auto found = documents_.find(number);
    if (found == documents_.end())
        return {};
    Document& document = found->second;
    document.size += bytes.size();
    print(number, document, document.decoder.feed(bytes));
    out_.flush();
    const QByteArray answer = document.decoder.takeAnswer();
    return answersStatus_ ? answer : QByteArray();
}

void VirtualPrinterOutput::end(int number, const QString& note)
{
    const auto found = documents_.find(number);
    if (found == documents_.end())
        return;
    Document& document = found->second;
    print(number, document, document.decoder.finish());
    out_ << heading(number, document) << ", " << document.size << " bytes"
         << (note.isEmpty() ? QString() : QStringLiteral(", ") + note) << '\n'
         << settings_.describe() << '\n';
    QStringList pictures;
    if (document.picture) {
        QString failure;
        pictures = document.picture->finish(failure);
        for (const QString& picture : pictures)
            out_ << "picture " << picture << '\n';
        if (!failure.isEmpty())
            out_ << "picture not written: " << failure << '\n';
    }
    out_.flush();
    shown_ = 0;
    if (ended_)
        ended_(EndedDocument{number, document.from, std::move(document.kept), document.leftOut,
                             settings_.describe(), std::move(pictures)});
    documents_.erase(found);
}

void VirtualPrinterOutput::print(int number, Document& document, const QStringList& lines)
{
    // Once a line does not fit, the ones after it are left out too, so that what is kept is
    // the document's beginning.
    for (qsizetype i = 0; ended_ && i < lines.size(); ++i) {
        if (document.leftOut == 0 && document.kept.size() < keptLines_ &&
            document.keptCharacters + lines[i].size() <= keptCharacters_) {
            document.kept.append(lines[i]);
            document.keptCharacters += lines[i].size();
        } else {
            ++document.leftOut;
        }
    }
    if (lines.isEmpty())
        return;
    if (shown_ != number || shownPrinter_ != this)
        out_ << heading(number, document) << '\n';
    shown_ = number;
    shownPrinter_ = this;
    for (const QString& line : lines)
        out_ << "  " << line << '\n';
}

QString VirtualPrinterOutput::heading(int number, const Document& document) const
{
    return QStringLiteral("document %1%2 from %3")
        .arg(number)
        .arg(name_.isEmpty() ? QString() : QStringLiteral(" at ") + name_, document.from);
}
