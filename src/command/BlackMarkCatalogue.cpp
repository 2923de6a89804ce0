#include "BlackMarkCatalogue.h"

#include "DistanceCount.h"

using namespace BlackMarkCommands;

const QString BlackMarkCatalogue::DistanceRefusedTitle = QStringLiteral("error");

BlackMarkCatalogue::BlackMarkCatalogue(CommandSender& sender) : sender_(sender) {}

QString BlackMarkCatalogue::distanceCommandText(const DistanceCommand& command,
                                                const QString& boxText)
{
    const std::optional<int> count = DistanceCount::fromBoxText(boxText);
    if (!count)
        return {};
    return QLatin1String(command.hexTemplate) + DistanceCount::tokens(*count);
}

SendOutcome BlackMarkCatalogue::sendDistance(const DistanceCommand& command, const QString& boxText,
                                             const PortSettings& port)
{
    const QString text = distanceCommandText(command, boxText);
    if (text.isEmpty()) {
        const QString why =
            QStringLiteral("%1: the distance \"%2\" cannot be sent.\nEnter a distance from 0 to "
                           "4095.875 mm; the button chooses the direction.")
                .arg(QLatin1String(command.caption), boxText);
        sender_.messages().show({why, DistanceRefusedTitle, UserMessage::Icon::Warning, {}});
        return {SendOutcome::Result::Refused, why};
    }
    WindowValues& values = sender_.values();
    values.CommandText = text;
    return sender_.SendHexCommand(values.CommandText, port);
}

SendOutcome BlackMarkCatalogue::sendFixed(const char* hexText, const PortSettings& port)
{
    WindowValues& values = sender_.values();
    values.CommandText = QLatin1String(hexText);
    return sender_.SendHexCommand(values.CommandText, port);
}

SendOutcome BlackMarkCatalogue::Command1_Click(const QString& markMaxWidthMm,
                                               const PortSettings& port)
{
    return sendDistance(MarkMaxWidth, markMaxWidthMm, port);
}

SendOutcome BlackMarkCatalogue::Command2_Click(const QString& paperMaxWidthMm,
                                               const PortSettings& port)
{
    return sendDistance(PaperMaxWidth, paperMaxWidthMm, port);
}

SendOutcome BlackMarkCatalogue::Command3_Click(const QString& printStartFeedMm,
                                               const PortSettings& port)
{
    return sendDistance(PrintStartFeed, printStartFeedMm, port);
}

SendOutcome BlackMarkCatalogue::Command4_Click(const QString& printStartBackfeedMm,
                                               const PortSettings& port)
{
    return sendDistance(PrintStartBackfeed, printStartBackfeedMm, port);
}

SendOutcome BlackMarkCatalogue::Command6_Click(const QString& cutPositionFeedMm,
                                               const PortSettings& port)
{
    return sendDistance(CutPositionFeed, cutPositionFeedMm, port);
}

SendOutcome BlackMarkCatalogue::Command7_Click(const QString& cutPositionBackfeedMm,
                                               const PortSettings& port)
{
    return sendDistance(CutPositionBackfeed, cutPositionBackfeedMm, port);
}

SendOutcome BlackMarkCatalogue::Command5_Click(int switchIndex, const PortSettings& port)
{
    // The list always has one of its two entries selected; anything else means off.
    return sendFixed(SwitchEntries[switchIndex == 1 ? 1 : 0].hexText, port);
}

SendOutcome BlackMarkCatalogue::Command8_Click(const PortSettings& port)
{
    return sendFixed(FindStartAndPrint.hexText, port);
}

SendOutcome BlackMarkCatalogue::Command9_Click(const PortSettings& port)
{
    return sendFixed(TestCut.hexText, port);
}
