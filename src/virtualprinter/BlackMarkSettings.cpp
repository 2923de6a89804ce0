#include "BlackMarkSettings.h"

#include <QStringList>

QString millimetres(int count)
{
    return QString::number(count / 8.0, 'g', 12);
}

namespace
{

QString distance(const std::optional<int>& count)
{
    return count ? millimetres(*count) + QStringLiteral(" mm") : QStringLiteral("not set");
}

QString adjustment(const std::optional<PositionAdjustment>& position)
{
    if (!position)
        return QStringLiteral("not set");
    return (position->backfeed ? QStringLiteral("backfeed ") : QStringLiteral("feed ")) +
           millimetres(position->count) + QStringLiteral(" mm");
}

} // namespace

QString BlackMarkSettings::describe() const
{
    const QString function = functionOn
                                 ? (*functionOn ? QStringLiteral("on") : QStringLiteral("off"))
                                 : QStringLiteral("not set");
    return QStringList{QStringLiteral("mark max width ") + distance(markMaxWidth),
                       QStringLiteral("paper max width ") + distance(paperMaxWidth),
                       QStringLiteral("black mark function ") + function,
                       QStringLiteral("print start ") + adjustment(printStart),
                       QStringLiteral("cut position ") + adjustment(cutPosition)}
        .join(QStringLiteral(", "))
        .prepend(QStringLiteral("settings: "));
}
