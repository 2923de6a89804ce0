#include "VirtualPrinterOutput.h"

int VirtualPrinterOutput::begin(const QString& from)
{
    documents_.try_emplace(++count_, Document{from, PrinterStreamDecoder(settings_, condition_)});
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
    out_.flush();
    shown_ = 0;
    documents_.erase(found);
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
