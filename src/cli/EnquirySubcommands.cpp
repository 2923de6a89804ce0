#include "EnquirySubcommands.h"

#include "HexCommandText.h"
#include "JsonText.h"
#include "PrinterAnswers.h"
#include "PrinterEnquiry.h"
#include "PrinterRequests.h"
#include "SystemText.h"

using namespace PrinterRequests;

EnquirySubcommands::EnquirySubcommands(PrinterSdk& sdk, std::ostream& out, std::ostream& err)
    : sdk_(sdk), out_(out), err_(err)
{
}

std::string EnquirySubcommands::requestsOf(const std::string& subcommand)
{
    std::string lines;
    if (subcommand == "identify") {
        for (const IdentityItem& item : IdentityItems)
            lines += hexCommandText(printerId(item.n)) + "\n";
        return lines + hexCommandText(printerId(TypeId)) + "\n";
    }
    for (std::uint8_t n = 1; n <= 4; ++n)
        lines += hexCommandText(realTimeStatus(n)) + "\n";
    return lines;
}

bool EnquirySubcommands::opened(PrinterEnquiry& enquiry, const PortSettings& port)
{
    if (enquiry.open(port))
        return true;
    err_ << "blackmark: " << enquiry.notOpenedWords() << std::endl;
    return false;
}

// A port that failed on the way is told; the answers that came before it still count.
void EnquirySubcommands::finish(PrinterEnquiry& enquiry)
{
    if (!enquiry.close())
        err_ << "blackmark: " << enquiry.failedWords() << std::endl;
}

int EnquirySubcommands::identify(const PortSettings& port, bool json)
{
    PrinterEnquiry enquiry(sdk_);
    if (!opened(enquiry, port))
        return NotAnswered;
    const PrinterIdentity identity = PrinterIdentity::ask(enquiry);
    finish(enquiry);
    out_ << (json ? JsonText::answers(identity.fields())
                  : SystemText::fromBytes(identity.line()) + "\n")
         << std::flush;
    return identity.answeredAny() ? Answered : NotAnswered;
}

int EnquirySubcommands::status(const PortSettings& port, bool json)
{
    PrinterEnquiry enquiry(sdk_);
    if (!opened(enquiry, port))
        return NotAnswered;
    const PrinterStatus status = PrinterStatus::ask(enquiry);
    finish(enquiry);
    out_ << (json ? JsonText::answers(status.fields()) : status.line() + "\n") << std::flush;
    if (status.stopped())
        return CannotPrint;
    return status.ready() ? Answered : NotAnswered;
}
