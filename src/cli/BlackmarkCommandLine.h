#pragma once

#include "PrinterQueues.h"

#include <QStringList>
#include <QTextStream>
#include <functional>

class PrinterSdk;

// The command line: one subcommand per button of the window, the same port words, the same
// catalogue, send and refusals. Returns the exit code: 0 sent, 1 port not opened or the
// document failed, 2 bad input.
class BlackmarkCommandLine
{
public:
    using QueueSource = std::function<QueueListing()>;

    BlackmarkCommandLine(PrinterSdk& sdk, QueueSource queues, QTextStream& out, QTextStream& err);

    int run(const QStringList& arguments);

    enum ExitCode { Sent = 0, NotSent = 1, BadInput = 2 };

private:
    int badInput(const QString& why);
    int listPrinters();
    int listPorts(bool json);

    PrinterSdk& sdk_;
    QueueSource queues_;
    QTextStream& out_;
    QTextStream& err_;
};
