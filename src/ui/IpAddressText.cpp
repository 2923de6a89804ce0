#include "IpAddressText.h"

#include "IpBoxError.h"

#include <QStringList>

namespace
{

constexpr qsizetype LongestCountedText = 16383;

// One part of the address as a byte: blanks around it ignored, decimal digits with an
// optional sign, leading zeros allowed.
quint8 addressPartByte(const QString& part)
{
    const QStringView number = QStringView(part).trimmed();
    qsizetype digitsFrom = 0;
    bool negative = false;
    if (!number.isEmpty() && (number[0] == u'+' || number[0] == u'-')) {
        negative = number[0] == u'-';
        digitsFrom = 1;
    }
    const QStringView digits = number.sliced(digitsFrom);
    if (digits.isEmpty())
        throw IpBoxError(IpBoxError::TypeMismatch, QStringLiteral("Type mismatch"));
    int value = 0;
    bool overflow = false;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            throw IpBoxError(IpBoxError::TypeMismatch, QStringLiteral("Type mismatch"));
        value = value * 10 + (c.unicode() - u'0');
        if (value > 255) {
            overflow = true;
            value = 256; // keeps reading, so that a later non-digit is still a type mismatch
        }
    }
    if (overflow || (negative && value != 0))
        throw IpBoxError(IpBoxError::Overflow, QStringLiteral("Overflow"));
    return static_cast<quint8>(value);
}

} // namespace

namespace IpAddressText
{

qint16 countOf(const QString& text, const QString& key)
{
    if (text.isEmpty())
        return 0;
    if (key.isEmpty())
        throw IpBoxError(IpBoxError::InvalidArgument,
                         QStringLiteral("Invalid procedure call or argument"));
    if (text.size() > LongestCountedText)
        throw IpBoxError(IpBoxError::Overflow, QStringLiteral("Overflow"));
    // Whole characters are compared, so no other character can pass for the key.
    return static_cast<qint16>(text.count(key.at(0)));
}

quint32 packedAddress(const QString& text)
{
    if (countOf(text, QStringLiteral(".")) < 3)
        throw IpBoxError(IpBoxError::AddressFormat, IpBoxError::AddressFormatDescription);
    const QStringList p = text.split(u'.');
    if (p.size() < 4)
        throw IpBoxError(IpBoxError::IndexOutOfRange, QStringLiteral("Subscript out of range"));
    // Converted from the last part to the first; parts after the fourth are ignored.
    const quint8 b[4] = {addressPartByte(p[3]), addressPartByte(p[2]), addressPartByte(p[1]),
                         addressPartByte(p[0])};
    return quint32(b[3]) << 24 | quint32(b[2]) << 16 | quint32(b[1]) << 8 | b[0];
}

QString dotted(quint32 packed)
{
    const quint8 b[4] = {quint8(packed), quint8(packed >> 8), quint8(packed >> 16),
                         quint8(packed >> 24)};
    return QStringLiteral("%1.%2.%3.%4").arg(b[3]).arg(b[2]).arg(b[1]).arg(b[0]);
}

} // namespace IpAddressText
