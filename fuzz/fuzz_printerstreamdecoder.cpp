// Any document: every byte is shown exactly once, in order, across the decoded lines.
#include "FuzzCheck.h"
#include "PrinterStreamDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray document(reinterpret_cast<const char*>(data), qsizetype(size));
    PrinterStreamDecoder decoder;
    const QStringList lines = decoder.decode(document);
    QStringList shown;
    for (const QString& line : lines) {
        const qsizetype gap = line.indexOf(QLatin1String("  "));
        FUZZ_CHECK(gap > 0);
        shown << line.left(gap);
    }
    FUZZ_CHECK(shown.join(u' ') == QString::fromLatin1(document.toHex(' ').toUpper()));
    FUZZ_CHECK(!decoder.settings().describe().isEmpty());
    return 0;
}
