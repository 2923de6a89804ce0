#include "StrictDistance.h"

#include "DistanceCount.h"

#include <QRegularExpression>
#include <cmath>

namespace
{

QString millimetres(double value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

StrictDistance StrictDistance::read(const QString& text)
{
    static const QRegularExpression distance(
        QStringLiteral("^\\s*([0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)\\s*(?:mm)?\\s*$"));
    const QRegularExpressionMatch match = distance.match(text);
    StrictDistance read;
    if (!match.hasMatch()) {
        read.refusal = QStringLiteral("\"%1\" is not a distance: give a decimal number of "
                                      "millimetres, such as 2.5 or 2.5mm")
                           .arg(text);
        return read;
    }
    read.number = match.captured(1);
    const double value = DistanceCount::readDecimal(read.number);
    const double count = std::nearbyint(value * 8.0);
    if (count != value * 8.0 && count <= DistanceCount::Largest)
        read.roundingNote = QStringLiteral("%1 mm sent as %2 mm, %3 counts")
                                .arg(read.number, millimetres(count / 8.0))
                                .arg(count);
    return read;
}
