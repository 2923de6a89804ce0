// Any Address write: refused with 102, 13 or 6, or accepted as an address that reads back as
// four numbers from 0 to 255 and writes again to the same value. Also CountIF with any key.
#include "FuzzCheck.h"
#include "IpAddressText.h"
#include "IpBoxError.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf(u'\n');
    const QString text = split < 0 ? input : input.left(split);
    const QString key = split < 0 ? QStringLiteral(".") : input.mid(split + 1);
    try {
        const qint16 count = IpAddressText::countOf(text, key);
        FUZZ_CHECK(count == text.count(key.at(0)));
    } catch (const IpBoxError& error) {
        FUZZ_CHECK(error.number() == IpBoxError::InvalidArgument ||
                   error.number() == IpBoxError::Overflow);
    }
    try {
        const quint32 packed = IpAddressText::packedAddress(text);
        const QString dotted = IpAddressText::dotted(packed);
        const QStringList fields = dotted.split(u'.');
        FUZZ_CHECK(fields.size() == 4);
        for (const QString& field : fields) {
            bool ok = false;
            const int value = field.toInt(&ok);
            FUZZ_CHECK(ok && value >= 0 && value <= 255 && field == QString::number(value));
        }
        FUZZ_CHECK(IpAddressText::packedAddress(dotted) == packed);
    } catch (const IpBoxError& error) {
        FUZZ_CHECK(error.number() == IpBoxError::AddressFormat ||
                   error.number() == IpBoxError::TypeMismatch ||
                   error.number() == IpBoxError::Overflow);
    }
    return 0;
}
