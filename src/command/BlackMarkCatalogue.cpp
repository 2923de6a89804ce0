#include "BlackMarkCatalogue.h"

#include "DistanceCount.h"

using namespace BlackMarkCommands;

BlackMarkCatalogue::BlackMarkCatalogue(CommandSender& sender) : sender_(sender) {}

std::string BlackMarkCatalogue::distanceCommandText(const DistanceCommand& command,
                                                    const std::string& boxText)
{
    const std::optional<int> count = DistanceCount::fromBoxText(boxText);
    if (!count)
        return {};
    return command.hexTemplate + DistanceCount::tokens(*count);
}

SendOutcome BlackMarkCatalogue::sendDistance(const DistanceCommand& command,
                                             const std::string& boxText, const PortSettings& port)
{
    std::string text = distanceCommandText(command, boxText);
    if (text.empty()) {
        const std::string why = std::string(command.caption) + ": the distance \"" + boxText +
                                "\" cannot be sent.\nEnter a distance from 0 to 4095.875 mm; the "
                                "button chooses the direction.";
        sender_.messages().show({why, DistanceRefusedTitle, UserMessage::Icon::Warning, {}});
        return {SendOutcome::Result::Refused, why};
    }
    WindowValues& values = sender_.values();
    values.CommandText = std::move(text);
    return sender_.SendHexCommand(values.CommandText, port);
}

SendOutcome BlackMarkCatalogue::sendFixed(const char* hexText, const PortSettings& port)
{
    WindowValues& values = sender_.values();
    values.CommandText = hexText;
    return sender_.SendHexCommand(values.CommandText, port);
}

SendOutcome BlackMarkCatalogue::Command1_Click(const std::string& markMaxWidthMm,
                                               const PortSettings& port)
{
    return sendDistance(MarkMaxWidth, markMaxWidthMm, port);
}

SendOutcome BlackMarkCatalogue::Command2_Click(const std::string& paperMaxWidthMm,
                                               const PortSettings& port)
{
    return sendDistance(PaperMaxWidth, paperMaxWidthMm, port);
}

SendOutcome BlackMarkCatalogue::Command3_Click(const std::string& printStartFeedMm,
                                               const PortSettings& port)
{
    return sendDistance(PrintStartFeed, printStartFeedMm, port);
}

SendOutcome BlackMarkCatalogue::Command4_Click(const std::string& printStartBackfeedMm,
                                               const PortSettings& port)
{
    return sendDistance(PrintStartBackfeed, printStartBackfeedMm, port);
}

SendOutcome BlackMarkCatalogue::Command6_Click(const std::string& cutPositionFeedMm,
                                               const PortSettings& port)
{
    return sendDistance(CutPositionFeed, cutPositionFeedMm, port);
}

SendOutcome BlackMarkCatalogue::Command7_Click(const std::string& cutPositionBackfeedMm,
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
