#pragma once

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
    using PrinterNames = std::function<QStringList()>;

    BlackmarkCommandLine(PrinterSdk& sdk, PrinterNames installedPrinters, QTextStream& out,
                         QTextStream& err);

    int run(const QStringList& arguments);

    enum ExitCode { Sent = 0, NotSent = 1, BadInput = 2 };

private:
    int badInput(const QString& why);

    PrinterSdk& sdk_;
    PrinterNames installedPrinters_;
    QTextStream& out_;
    QTextStream& err_;
};
