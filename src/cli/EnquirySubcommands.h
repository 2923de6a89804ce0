#pragma once

#include "PortSettings.h"

#include <ostream>
#include <string>

class PrinterEnquiry;
class PrinterSdk;

// identify and status: ask the printer on its port and tell what it answered, as a line or
// as JSON. Exit codes: 0 answered (status: ready to print), 1 not reached or no answer,
// 3 (status) answered but cannot print now.
class EnquirySubcommands
{
public:
    enum ExitCode { Answered = 0, NotAnswered = 1, CannotPrint = 3 };

    EnquirySubcommands(PrinterSdk& sdk, std::ostream& out, std::ostream& err);

    int identify(const PortSettings& port, bool json);
    int status(const PortSettings& port, bool json);

    // The requests a subcommand writes, as hex command text, one a line: what a dry run shows.
    static std::string requestsOf(const std::string& subcommand);

private:
    bool opened(PrinterEnquiry& enquiry, const PortSettings& port);
    void finish(PrinterEnquiry& enquiry);

    PrinterSdk& sdk_;
    std::ostream& out_;
    std::ostream& err_;
};
