#include "PrinterCondition.h"

#include <QStringList>

namespace
{

constexpr char Fixed = 0x12; // bits 1 and 4 of every real-time status byte
constexpr int LongestIdText = 80;

QByteArray byte(int value)
{
    return QByteArray(1, char(value));
}

QByteArray textBlock(const QString& text)
{
    return '\x5F' + text.toLatin1() + '\0';
}

bool fitsInAnswer(const QString& part)
{
    if (part.size() > LongestIdText)
        return false;
    for (QChar c : part) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

} // namespace

QByteArray PrinterCondition::realTimeStatus(quint8 n) const
{
    switch (n) {
    case 1: // pin 3 of the drawer connector is high when no drawer is fitted
        return byte(Fixed | 0x04 | (isOffline() ? 0x08 : 0));
    case 2:
        return byte(Fixed | (coverOpen ? 0x04 : 0) | (paperEnd ? 0x20 : 0));
    case 3:
        return byte(Fixed);
    case 4:
        return byte(Fixed | (paperNearEnd || paperEnd ? 0x0C : 0) | (paperEnd ? 0x60 : 0));
    default:
        return {};
    }
}

QByteArray PrinterCondition::status(quint8 n) const
{
    switch (n) {
    case 1:
    case 49:
        return byte((paperNearEnd || paperEnd ? 0x03 : 0) | (paperEnd ? 0x0C : 0));
    case 2:
    case 50:
    case 4:
    case 52:
        return byte(0x00);
    default:
        return {};
    }
}

QByteArray PrinterCondition::automaticStatus() const
{
    return byte(0x10 | 0x04 | (isOffline() ? 0x08 : 0) | (coverOpen ? 0x20 : 0)) + byte(0x00) +
           byte((paperNearEnd || paperEnd ? 0x03 : 0) | (paperEnd ? 0x0C : 0)) + byte(0x00);
}

QByteArray PrinterCondition::printerId(quint8 n) const
{
    switch (n) {
    case 1:
        return byte(0x20);
    case 2:
        return byte(autocutter ? 0x02 : 0x00);
    case 3:
        return byte(0x01);
    case 65:
        return textBlock(firmware);
    case 66:
        return textBlock(maker);
    case 67:
        return textBlock(model);
    case 68:
        return textBlock(serial);
    case 69:
        return textBlock({}); // no fonts beyond the standard ones
    default:
        return {};
    }
}

bool PrinterCondition::setIdentity(const QString& text)
{
    const QStringList parts = text.split(u';');
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        if (!fitsInAnswer(part))
            return false;
    }
    maker = parts[0];
    model = parts[1];
    firmware = parts[2];
    serial = parts[3];
    return true;
}
