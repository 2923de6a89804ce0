#include "PrinterStreamDecoder.h"

namespace
{

constexpr char ESC = 0x1B;
constexpr char GS = 0x1D;
constexpr char US = 0x1F;
constexpr char LF = 0x0A;

quint8 byteAt(const QByteArray& bytes, qsizetype at)
{
    return static_cast<quint8>(bytes.at(at));
}

bool printable(quint8 byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

QString hex(const QByteArray& bytes, qsizetype at, qsizetype length)
{
    return QString::fromLatin1(bytes.mid(at, length).toHex(' ').toUpper());
}

QString distanceWords(int count)
{
    return QStringLiteral("%1 mm (%2 counts)").arg(millimetres(count)).arg(count);
}

} // namespace

QStringList PrinterStreamDecoder::decode(const QByteArray& document)
{
    QStringList lines;
    qsizetype at = 0;
    while (at < document.size()) {
        Step step = decodeAt(document, at);
        if (step.length == 0) {
            lines << hex(document, at, document.size() - at) + QStringLiteral("  truncated ") +
                         step.meaning;
            break;
        }
        lines << hex(document, at, step.length) + QStringLiteral("  ") + step.meaning;
        at += step.length;
    }
    return lines;
}

PrinterStreamDecoder::Step PrinterStreamDecoder::decodeAt(const QByteArray& bytes, qsizetype at)
{
    switch (bytes.at(at)) {
    case ESC:
        return escape(bytes, at);
    case GS:
        return groupSeparator(bytes, at);
    case US:
        return makerCommand(bytes, at);
    case LF:
        return {1, QStringLiteral("LF: print and feed one line")};
    default:
        break;
    }
    qsizetype end = at;
    while (end < bytes.size() && printable(byteAt(bytes, end)))
        ++end;
    if (end > at)
        return {end - at,
                QStringLiteral("text \"%1\"").arg(QString::fromLatin1(bytes.mid(at, end - at)))};
    end = at + 1;
    // Unknown bytes run up to the next byte that starts something known.
    while (end < bytes.size() && !printable(byteAt(bytes, end)) &&
           !QByteArray("\x1B\x1D\x1F\x0A").contains(bytes.at(end)))
        ++end;
    return {end - at, QStringLiteral("unknown bytes")};
}

PrinterStreamDecoder::Step PrinterStreamDecoder::escape(const QByteArray& bytes, qsizetype at)
{
    if (at + 1 >= bytes.size())
        return {0, QStringLiteral("ESC command")};
    if (bytes.at(at + 1) == '@')
        return {2, QStringLiteral("ESC @: initialise the printer")};
    return {2, QStringLiteral("ESC %1: unknown command").arg(hex(bytes, at + 1, 1))};
}

PrinterStreamDecoder::Step PrinterStreamDecoder::groupSeparator(const QByteArray& bytes,
                                                                qsizetype at)
{
    if (at + 1 >= bytes.size())
        return {0, QStringLiteral("GS command")};
    switch (bytes.at(at + 1)) {
    case 0x0C:
        return {2, QStringLiteral("GS FF: feed marked paper to the print starting position")};
    case 'V': {
        if (at + 2 >= bytes.size())
            return {0, QStringLiteral("GS V")};
        const quint8 m = byteAt(bytes, at + 2);
        if (m == 0 || m == 0x30)
            return {3, QStringLiteral("GS V: full cut")};
        if (m == 1 || m == 0x31)
            return {3, QStringLiteral("GS V: partial cut")};
        if (m == 0x41 || m == 0x42) {
            if (at + 3 >= bytes.size())
                return {0, QStringLiteral("GS V")};
            return {4, QStringLiteral("GS V: feed %1 and %2 cut")
                           .arg(byteAt(bytes, at + 3))
                           .arg(m == 0x41 ? QStringLiteral("full") : QStringLiteral("partial"))};
        }
        return {3, QStringLiteral("GS V: unknown cut mode %1").arg(hex(bytes, at + 2, 1))};
    }
    case '(':
        if (at + 2 < bytes.size() && bytes.at(at + 2) == 'F')
            return positionAdjustment(bytes, at);
        if (at + 2 >= bytes.size())
            return {0, QStringLiteral("GS (")};
        break;
    default:
        break;
    }
    return {2, QStringLiteral("GS %1: unknown command").arg(hex(bytes, at + 1, 1))};
}

// GS ( F pL pH a m nL nH: where printing starts or the cut falls after a black mark.
PrinterStreamDecoder::Step PrinterStreamDecoder::positionAdjustment(const QByteArray& bytes,
                                                                    qsizetype at)
{
    if (at + 4 >= bytes.size())
        return {0, QStringLiteral("GS ( F")};
    const int parameters = byteAt(bytes, at + 3) | byteAt(bytes, at + 4) << 8;
    const qsizetype length = 5 + parameters;
    if (at + length > bytes.size())
        return {0, QStringLiteral("GS ( F")};
    if (parameters != 4)
        return {length, QStringLiteral("GS ( F: unexpected parameter length %1").arg(parameters)};
    const quint8 a = byteAt(bytes, at + 5);
    const quint8 m = byteAt(bytes, at + 6);
    const int count = byteAt(bytes, at + 7) | byteAt(bytes, at + 8) << 8;
    if ((a != 1 && a != 2) || m > 1)
        return {length, QStringLiteral("GS ( F: unknown function %1 direction %2")
                            .arg(hex(bytes, at + 5, 1), hex(bytes, at + 6, 1))};
    const bool backfeed = m == 1;
    (a == 1 ? settings_.printStart : settings_.cutPosition) = PositionAdjustment{count, backfeed};
    return {length,
            QStringLiteral("GS ( F: %1 %2 %3")
                .arg(a == 1 ? QStringLiteral("print start") : QStringLiteral("cut position"),
                     backfeed ? QStringLiteral("backfeed") : QStringLiteral("feed"),
                     distanceWords(count))};
}

// 1F 1B 1F fn 04 05 06 and the parameter: the maker's black-mark commands.
PrinterStreamDecoder::Step PrinterStreamDecoder::makerCommand(const QByteArray& bytes, qsizetype at)
{
    // 1F 1B 1F ?? 04 05 06, the function byte at index 3 being free.
    static const QByteArray frame("\x1F\x1B\x1F\x00\x04\x05\x06", 7);
    const QByteArray head = bytes.mid(at, frame.size());
    for (qsizetype i = 0; i < head.size(); ++i) {
        if (i != 3 && head.at(i) != frame.at(i))
            return {1, QStringLiteral("unknown bytes")};
    }
    if (head.size() < frame.size())
        return {0, QStringLiteral("maker command")};
    const quint8 function = byteAt(bytes, at + 3);
    if (function == 0x80) {
        if (at + 8 > bytes.size())
            return {0, QStringLiteral("maker command 80")};
        const quint8 value = byteAt(bytes, at + 7);
        if (value != 0x66 && value != 0x44)
            return {
                8,
                QStringLiteral("black mark function: unknown value %1").arg(hex(bytes, at + 7, 1))};
        settings_.functionOn = value == 0x44;
        return {8, QStringLiteral("black mark function %1")
                       .arg(value == 0x44 ? QStringLiteral("on") : QStringLiteral("off"))};
    }
    if (function == 0x81 || function == 0x82) {
        if (at + 9 > bytes.size())
            return {0, QStringLiteral("maker command %1").arg(hex(bytes, at + 3, 1))};
        const int count = byteAt(bytes, at + 7) | byteAt(bytes, at + 8) << 8;
        (function == 0x81 ? settings_.markMaxWidth : settings_.paperMaxWidth) = count;
        return {9, QStringLiteral("%1 %2").arg(function == 0x81
                                                   ? QStringLiteral("black mark max width")
                                                   : QStringLiteral("black mark paper max width"),
                                               distanceWords(count))};
    }
    return {7, QStringLiteral("maker command %1: unknown function").arg(hex(bytes, at + 3, 1))};
}
