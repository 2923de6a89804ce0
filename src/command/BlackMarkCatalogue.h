#pragma once

#include "BlackMarkCommands.h"
#include "CommandSender.h"

#include <string>

// The buttons of the window that send a command. Each builds CommandText from what the
// window shows at the press and hands it to SendHexCommand.
class BlackMarkCatalogue
{
public:
    explicit BlackMarkCatalogue(CommandSender& sender);

    SendOutcome Command1_Click(const std::string& markMaxWidthMm, const PortSettings& port);
    SendOutcome Command2_Click(const std::string& paperMaxWidthMm, const PortSettings& port);
    SendOutcome Command3_Click(const std::string& printStartFeedMm, const PortSettings& port);
    SendOutcome Command4_Click(const std::string& printStartBackfeedMm, const PortSettings& port);
    SendOutcome Command6_Click(const std::string& cutPositionFeedMm, const PortSettings& port);
    SendOutcome Command7_Click(const std::string& cutPositionBackfeedMm, const PortSettings& port);
    // switchIndex: the selected entry of the on/off list, 0 off, 1 on.
    SendOutcome Command5_Click(int switchIndex, const PortSettings& port);
    SendOutcome Command8_Click(const PortSettings& port);
    SendOutcome Command9_Click(const PortSettings& port);

    // A distance command's text for a box's text; empty when the distance cannot be sent.
    static std::string distanceCommandText(const DistanceCommand& command,
                                           const std::string& boxText);

    static constexpr const char* DistanceRefusedTitle = "error";

private:
    SendOutcome sendDistance(const DistanceCommand& command, const std::string& boxText,
                             const PortSettings& port);
    SendOutcome sendFixed(const char* hexText, const PortSettings& port);

    CommandSender& sender_;
};
