#pragma once

#include "BlackMarkSettings.h"

#include <QByteArray>
#include <QStringList>

// Reads a document the way the printer would: one readable line per command, and the
// black-mark settings it changes.
class PrinterStreamDecoder
{
public:
    // Each line is the command's bytes in hex, two blanks, and what they mean.
    QStringList decode(const QByteArray& document);

    const BlackMarkSettings& settings() const { return settings_; }

private:
    struct Step {
        qsizetype length; // bytes taken; 0 when the command is cut short
        QString meaning;
    };

    Step decodeAt(const QByteArray& bytes, qsizetype at);
    Step escape(const QByteArray& bytes, qsizetype at);
    Step groupSeparator(const QByteArray& bytes, qsizetype at);
    Step positionAdjustment(const QByteArray& bytes, qsizetype at);
    Step makerCommand(const QByteArray& bytes, qsizetype at);

    BlackMarkSettings settings_;
};
