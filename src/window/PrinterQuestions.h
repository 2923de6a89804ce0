#pragma once

#include "PortSettings.h"
#include "UserMessages.h"

#include <string_view>

class PrinterEnquiry;
class PrinterSdk;

// Printer ▸ Who is it? and Can it print?: the command line's identify and status questions,
// asked on the port that the window shows, with what came of them in one box.
class PrinterQuestions
{
public:
    PrinterQuestions(PrinterSdk& sdk, UserMessages& messages);

    void whoIsIt(const PortSettings& port);
    void canItPrint(const PortSettings& port);

    static constexpr std::string_view WhoIsItTitle = "Who is it?";
    static constexpr std::string_view CanItPrintTitle = "Can it print?";

private:
    // Opens the port, or tells why not; false then.
    bool opened(PrinterEnquiry& enquiry, const PortSettings& port);
    // Tells the answers' line; a port that failed on the way makes it a failure, with why.
    void tell(const PrinterEnquiry& enquiry, bool closed, std::string_view title,
              const std::string& line, UserMessage::Icon icon);

    PrinterSdk& sdk_;
    UserMessages& messages_;
};
