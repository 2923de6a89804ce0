#include "PortNames.h"

namespace
{

bool allDecimalDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Reads a port number 1 to 65535; 0 when the text is not one.
quint16 readPortNumber(QStringView text)
{
    if (!allDecimalDigits(text) || text.size() > 5)
        return 0;
    const uint value = text.toUInt();
    return value <= 65535 ? static_cast<quint16>(value) : 0;
}

PortNames::NetworkAddress refuseAddress(const QString& text, const QString& why)
{
    PortNames::NetworkAddress address;
    address.refusal = QStringLiteral("\"%1\" is not a network address: %2").arg(text, why);
    return address;
}

PortNames::NetworkAddress hostAndPort(const QString& text, QStringView host, QStringView port)
{
    if (host.isEmpty())
        return refuseAddress(text, QStringLiteral("the host is missing"));
    for (QChar c : host) {
        if (c == u'[' || c == u']' || c.isSpace() || !c.isPrint())
            return refuseAddress(text, QStringLiteral("the host has a character that no host "
                                                      "name or address has"));
    }
    PortNames::NetworkAddress address;
    address.host = host.toString();
    if (!port.isNull()) {
        address.port = readPortNumber(port);
        if (address.port == 0)
            return refuseAddress(text, QStringLiteral("the port must be a number from 1 to 65535"));
    }
    return address;
}

// "COM3" or "COM /dev/ttyUSB0" for the prefix "COM" and the numbered folder "/dev/ttyS".
PortNames::DevicePath devicePath(const QString& portText, QLatin1String prefix,
                                 QLatin1String numberedDevice, QLatin1String kind)
{
    PortNames::DevicePath device;
    if (!portText.startsWith(prefix)) {
        device.refusal = QStringLiteral("\"%1\" does not begin with %2").arg(portText, prefix);
        return device;
    }
    const QStringView rest = QStringView(portText).sliced(prefix.size());
    const QStringView path = rest.trimmed();
    if (path.startsWith(u'/')) {
        device.path = path.toString();
        return device;
    }
    const qsizetype number = allDecimalDigits(rest) && rest.size() <= 9 ? rest.toLongLong() : 0;
    if (number < 1) {
        device.refusal = QStringLiteral("\"%1\" is not a %2: use %3 followed by a number from 1, "
                                        "or by a device path such as %3 /dev/...")
                             .arg(portText, kind, prefix);
        return device;
    }
    device.path = numberedDevice + QString::number(number - 1);
    return device;
}

} // namespace

namespace PortNames
{

QString NetworkAddress::display() const
{
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return shownHost + u':' + QString::number(port);
}

NetworkAddress readNetworkAddress(const QString& text)
{
    if (text.isEmpty())
        return refuseAddress(text, QStringLiteral("it is empty"));
    const QStringView whole(text);
    if (whole.startsWith(u'[')) {
        const qsizetype close = whole.indexOf(u']');
        if (close < 0)
            return refuseAddress(text, QStringLiteral("the \"]\" is missing"));
        const QStringView after = whole.sliced(close + 1);
        if (!after.isEmpty() && !after.startsWith(u':'))
            return refuseAddress(text, QStringLiteral("only \":port\" may follow \"]\""));
        return hostAndPort(text, whole.sliced(1, close - 1),
                           after.isEmpty() ? QStringView() : after.sliced(1));
    }
    const qsizetype colons = whole.count(u':');
    if (colons == 1) {
        const qsizetype colon = whole.indexOf(u':');
        return hostAndPort(text, whole.first(colon), whole.sliced(colon + 1));
    }
    // No colon: a host alone. Several: an IPv6 address without brackets, and so no port.
    return hostAndPort(text, whole, QStringView());
}

NetworkAddress readListenAddress(const QString& text)
{
    return readNetworkAddress(allDecimalDigits(text) ? QStringLiteral("127.0.0.1:") + text : text);
}

DevicePath serialDevicePath(const QString& portText)
{
    return devicePath(portText, QLatin1String("COM"), QLatin1String("/dev/ttyS"),
                      QLatin1String("serial port"));
}

DevicePath parallelDevicePath(const QString& portText)
{
    return devicePath(portText, QLatin1String("LPT"), QLatin1String("/dev/lp"),
                      QLatin1String("parallel or USB printer port"));
}

} // namespace PortNames
