#pragma once

#include <QString>

// The text rules of the IP address box, apart from any widget. Errors are IpBoxError.
namespace IpAddressText
{

// How often the first character of key stands in text.
qint16 countOf(const QString& text, const QString& key);

// The packed address (first part in bits 31 to 24) for the text of an Address write.
quint32 packedAddress(const QString& text);

// "a.b.c.d" for a packed address.
QString dotted(quint32 packed);

} // namespace IpAddressText
