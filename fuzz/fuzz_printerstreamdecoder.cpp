// Any document: every byte is accounted for once, in order, across the decoded lines; and any
// split of it into chunks, at points taken from the document itself, decodes the same.
#include "FuzzCheck.h"
#include "PrinterStreamDecoder.h"

namespace
{

// Checks one line's byte column against the document from `at`; returns the bytes it stands for.
qint64 bytesOfLine(const QString& line, const QByteArray& document, qint64 at)
{
    const qsizetype gap = line.indexOf(QLatin1String("  "));
    FUZZ_CHECK(gap > 0);
    QString column = line.left(gap);
    qint64 length = 0;
    const qsizetype more = column.indexOf(QStringLiteral(" \u2026 ("));
    if (more >= 0) {
        length = column.sliced(more + 4).chopped(7).toLongLong(); // "N bytes)"
        column.truncate(more);
    }
    const QByteArray shown = QByteArray::fromHex(column.toLatin1());
    FUZZ_CHECK(column == QString::fromLatin1(shown.toHex(' ').toUpper()));
    FUZZ_CHECK(document.mid(at, shown.size()) == shown);
    FUZZ_CHECK(more < 0 || length > shown.size());
    return more >= 0 ? length : shown.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray document(reinterpret_cast<const char*>(data), qsizetype(size));
    BlackMarkSettings settings;
    PrinterStreamDecoder decoder(settings);
    const QStringList lines = decoder.decode(document);
    qint64 at = 0;
    for (const QString& line : lines)
        at += bytesOfLine(line, document, at);
    FUZZ_CHECK(at == document.size());

    BlackMarkSettings chunkedSettings;
    PrinterStreamDecoder chunked(chunkedSettings);
    QStringList chunkedLines;
    QByteArray answer;
    for (qsizetype from = 0; from < document.size();) {
        const qsizetype length = 1 + quint8(document.at(from)) % 23;
        chunkedLines += chunked.feed(
            QByteArrayView(document).sliced(from).first(std::min(length, document.size() - from)));
        answer += chunked.takeAnswer();
        from += length;
    }
    chunkedLines += chunked.finish();
    FUZZ_CHECK(chunkedLines == lines);
    FUZZ_CHECK(answer == decoder.takeAnswer());
    FUZZ_CHECK(chunkedSettings.describe() == settings.describe());
    return 0;
}
