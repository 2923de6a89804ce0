#include "VirtualPrinterOutput.h"

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
    out_ << "document " << number << " from " << document.from << ", " << document.size << " bytes"
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
    documents_.erase(found);
    if (documentEnded_)
        documentEnded_(number, pictures);
}

void VirtualPrinterOutput::print(int number, const Document& document, const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    if (shown_ != number)
        out_ << "document " << number << " from " << document.from << '\n';
    shown_ = number;
    for (const QString& line : lines)
        out_ << "  " << line << '\n';
}
