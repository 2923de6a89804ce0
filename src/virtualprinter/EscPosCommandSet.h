#pragma once

#include "BlackMarkSettings.h"
#include "PrinterCondition.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// How a command is laid out, read from its first bytes: how long it is, how much data
// follows it, and what it means.
struct CommandFrame {
    enum class Layout {
        CutShort, // the bytes so far do not tell; `name` says what is cut short
        Fixed,    // `length` bytes, then `dataLength` bytes of data
        UpToNul,  // `length` bytes, then data up to and including a NUL byte
        Text,     // printable bytes, as many as follow
        Unknown,  // bytes that start nothing known, as many as follow
    };
    Layout layout = Layout::CutShort;
    qsizetype length = 0;
    qint64 dataLength = 0;
    QString name;      // shown when the document ends inside the command
    QString meaning;   // shown after the command's bytes
    QByteArray answer; // what the printer sends back at once
};

// The byte layout of every command the virtual printer knows: the common ESC/POS set and the
// maker's black-mark commands.
namespace EscPosCommandSet
{

// No command needs more bytes than this before its frame is known.
constexpr qsizetype LongestHead = 64;

// The frame of the command that starts `head`. The black-mark commands change `settings`; the
// requests are answered as `condition` has the printer.
CommandFrame frame(QByteArrayView head, BlackMarkSettings& settings,
                   const PrinterCondition& condition);

bool continuesText(quint8 byte);
bool continuesUnknown(quint8 byte);

} // namespace EscPosCommandSet
