#include "PrinterQuestions.h"

#include "CommandSender.h"
#include "PrinterAnswers.h"
#include "PrinterEnquiry.h"
#include "SystemText.h"

using Icon = UserMessage::Icon;

PrinterQuestions::PrinterQuestions(PrinterSdk& sdk, UserMessages& messages)
    : sdk_(sdk), messages_(messages)
{
}

void PrinterQuestions::tell(const PrinterEnquiry& enquiry, bool closed, std::string_view title,
                            const std::string& line, Icon icon)
{
    messages_.show({line, std::string(title), closed ? icon : Icon::Error,
                    closed ? "" : enquiry.failedWords()});
}

bool PrinterQuestions::opened(PrinterEnquiry& enquiry, const PortSettings& port)
{
    if (!PrinterEnquiry::canAnswer(port)) {
        messages_.show(
            {PrinterEnquiry::QueueCannotAnswer, CommandSender::PortErrorTitle, Icon::Warning, {}});
        return false;
    }
    if (enquiry.open(port))
        return true;
    messages_.show({CommandSender::PortErrorText, CommandSender::PortErrorTitle, Icon::Error,
                    enquiry.failure()});
    return false;
}

void PrinterQuestions::whoIsIt(const PortSettings& port)
{
    PrinterEnquiry enquiry(sdk_);
    if (!opened(enquiry, port))
        return;
    const PrinterIdentity identity = PrinterIdentity::ask(enquiry);
    const bool closed = enquiry.close();
    tell(enquiry, closed, WhoIsItTitle, SystemText::fromBytes(identity.line()),
         identity.answeredAny() ? Icon::Information : Icon::Error);
}

void PrinterQuestions::canItPrint(const PortSettings& port)
{
    PrinterEnquiry enquiry(sdk_);
    if (!opened(enquiry, port))
        return;
    const PrinterStatus status = PrinterStatus::ask(enquiry);
    const bool closed = enquiry.close();
    const Icon icon = status.ready()         ? Icon::Information
                      : status.answeredAny() ? Icon::Warning
                                             : Icon::Error;
    tell(enquiry, closed, CanItPrintTitle, status.line(), icon);
}
