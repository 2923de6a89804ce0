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

// "black-mark paper (pitch 100 mm, cut -1.5 mm)": the kind and the distances that are set.
QString paperLayoutWords(const std::optional<PaperLayout>& layout)
{
    if (!layout)
        return QStringLiteral("not set");
    QStringList distances;
    for (int i = 0; i < PaperLayout::FieldCount; ++i) {
        if (const std::optional<int>& tenths = layout->fields[i])
            distances << QStringLiteral("%1 %2 mm")
                             .arg(QLatin1String(PaperLayout::fieldWords(PaperLayout::Field(i))))
                             .arg(*tenths / 10.0);
    }
    const QString kind = QLatin1String(PaperLayout::kindWords(layout->kind));
    return distances.isEmpty() ? kind : kind + " (" + distances.join(QStringLiteral(", ")) + ")";
}

QString BlackMarkSettings::describe() const
{
    const QString function = functionOn
                                 ? (*functionOn ? QStringLiteral("on") : QStringLiteral("off"))
                                 : QStringLiteral("not set");
    return QStringList{
        QStringLiteral("mark max width ") + distance(markMaxWidth),
        QStringLiteral("paper max width ") + distance(paperMaxWidth),
        QStringLiteral("black mark function ") + function,
        QStringLiteral("print start ") + adjustment(printStart),
        QStringLiteral("cut position ") + adjustment(cutPosition),
        QStringLiteral("paper layout ") + paperLayoutWords(layout),
        QStringLiteral("saved paper layout ") + paperLayoutWords(savedLayout) +
            (savedLoadsAtStartUp ? QStringLiteral(", loaded at start-up") : QString())}
        .join(QStringLiteral(", "))
        .prepend(QStringLiteral("settings: "));
}
