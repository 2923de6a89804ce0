#pragma once

#include "BlackMarkSettings.h"
#include "EscPosCommandSet.h"

#include <QByteArray>
#include <QStringList>
#include <array>

// Follows each command's whole bytes as they arrive, for whoever acts on what it prints.
class CommandListener
{
public:
    virtual ~CommandListener() = default;
    virtual void commandBegins(const CommandFrame& frame) = 0;
    virtual void commandBytes(QByteArrayView bytes) = 0;
    // `whole` is false when the document ended inside the command.
    virtual void commandEnds(bool whole) = 0;
};

// Reads a document the way the printer would, as its bytes arrive: one readable line per
// command, and the black-mark settings it changes. It holds only the command not yet
// finished, and of that only its first bytes, so that a document of any size fits.
class PrinterStreamDecoder
{
public:
    // A line shows at most this many of its command's bytes, then how many there were.
    static constexpr qsizetype ShownBytes = 48;

    explicit PrinterStreamDecoder(BlackMarkSettings& settings,
                                  const PrinterCondition& condition = PrinterCondition())
        : settings_(settings), condition_(condition)
    {
    }

    // The lines of the commands that end within these bytes. Each line is the command's bytes
    // in hex, two blanks, and what they mean.
    QStringList feed(QByteArrayView bytes);
    // The lines of what is left when the document ends.
    QStringList finish();
    // A whole document at once: feed() and finish().
    QStringList decode(QByteArrayView document);

    // Who also gets every command's bytes; none by default.
    void setListener(CommandListener* listener) { listener_ = listener; }

    // What the printer answers to the requests fed so far, once.
    QByteArray takeAnswer() { return std::exchange(answer_, {}); }

private:
    void feedInto(QByteArrayView bytes, QStringList& lines);
    qsizetype startCommand(QByteArrayView bytes, QStringList& lines);
    qsizetype continueCommand(QByteArrayView bytes, QStringList& lines);
    void begin(const CommandFrame& frame, QByteArrayView head, QStringList& lines);
    void take(QByteArrayView bytes);
    void end(QStringList& lines);
    QString shownBytes() const;
    QString line() const;

    BlackMarkSettings& settings_;
    PrinterCondition condition_;
    std::array<char, EscPosCommandSet::LongestHead> head_{}; // a command start not yet known
    qsizetype headSize_ = 0;
    bool inCommand_ = false;
    CommandFrame frame_; // of the command being taken
    QByteArray shown_;   // its first bytes
    qint64 taken_ = 0;   // its bytes so far
    qint64 dataLeft_ = 0;
    QByteArray answer_;
    CommandListener* listener_ = nullptr;
};
