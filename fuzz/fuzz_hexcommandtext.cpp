// Any text: an accepted one re-formats to hex that encodes to the same bytes.
#include "FuzzCheck.h"
#include "HexCommandText.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString original = text;
    const HexEncoding encoding = encodeHexCommandText(text);
    FUZZ_CHECK(!text.startsWith(u' ') && !text.endsWith(u' '));
    FUZZ_CHECK(original.contains(text));
    if (!encoding.accepted()) {
        FUZZ_CHECK(encoding.bytes.isEmpty());
        return 0;
    }
    FUZZ_CHECK(encoding.bytes.size() == text.count(u' ') + 1);
    FUZZ_CHECK(encoding.bytes.size() <= MaxHexCommandTokens);
    QString again = QString::fromLatin1(encoding.bytes.toHex(' '));
    const HexEncoding reencoded = encodeHexCommandText(again);
    FUZZ_CHECK(reencoded.accepted() && reencoded.bytes == encoding.bytes);
    return 0;
}
