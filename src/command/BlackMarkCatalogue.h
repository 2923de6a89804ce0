#pragma once

#include "BlackMarkCommands.h"
#include "CommandSender.h"

#include <QString>

// The buttons of the window that send a command. Each builds CommandText from what the
// window shows at the press and hands it to SendHexCommand.
class BlackMarkCatalogue
{
public:
    explicit BlackMarkCatalogue(CommandSender& sender);

    SendOutcome Command1_Click(const QString& markMaxWidthMm, const PortSettings& port);
    SendOutcome Command2_Click(const QString& paperMaxWidthMm, const PortSettings& port);
    SendOutcome Command3_Click(const QString& printStartFeedMm, const PortSettings& port);
    SendOutcome Command4_Click(const QString& printStartBackfeedMm, const PortSettings& port);
    SendOutcome Command6_Click(const QString& cutPositionFeedMm, const PortSettings& port);
    SendOutcome Command7_Click(const QString& cutPositionBackfeedMm, const PortSettings& port);
    // switchIndex: the selected entry of the on/off list, 0 off, 1 on.
    SendOutcome Command5_Click(int switchIndex, const PortSettings& port);
    SendOutcome Command8_Click(const PortSettings& port);
    SendOutcome Command9_Click(const PortSettings& port);

    // A distance command's text for a box's text; empty when the distance cannot be sent.
    static QString distanceCommandText(const DistanceCommand& command, const QString& boxText);

    static const QString DistanceRefusedTitle;

private:
    SendOutcome sendDistance(const DistanceCommand& command, const QString& boxText,
                             const PortSettings& port);
    SendOutcome sendFixed(const char* hexText, const PortSettings& port);

    CommandSender& sender_;
};
