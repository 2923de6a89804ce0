// Any Address write: refused with 102, 13 or 6, or accepted as an address whose dotted form
// writes again to the same value. Also CountIF with any key.
#include "FuzzCheck.h"
#include "IpAddressText.h"
#include "IpBoxError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = input.section(u'\n', 0, 0);
    const QString key = input.contains(u'\n') ? input.section(u'\n', 1) : QStringLiteral(".");
    try {
        const qint16 count = IpAddressText::countOf(text, key);
        FUZZ_CHECK(key.isEmpty() ? count == 0 : count == text.count(key.at(0)));
    } catch (const IpBoxError& error) {
        FUZZ_CHECK(error.number() == IpBoxError::InvalidArgument ||
                   error.number() == IpBoxError::Overflow);
    }
    try {
        const quint32 packed = IpAddressText::packedAddress(text);
        const QString dotted = IpAddressText::dotted(packed);
        FUZZ_CHECK(dotted.count(u'.') == 3 && IpAddressText::packedAddress(dotted) == packed);
    } catch (const IpBoxError& error) {
        FUZZ_CHECK(error.number() == IpBoxError::AddressFormat ||
                   error.number() == IpBoxError::TypeMismatch ||
                   error.number() == IpBoxError::Overflow);
    }
    return 0;
}
