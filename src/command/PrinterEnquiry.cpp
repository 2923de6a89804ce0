#include "PrinterEnquiry.h"

#include "CommandSender.h"
#include "PortKind.h"
#include "PrinterPortOpening.h"
#include "PrinterSdk.h"

PrinterEnquiry::PrinterEnquiry(PrinterSdk& sdk) : sdk_(sdk) {}

bool PrinterEnquiry::canAnswer(const PortSettings& port)
{
    return portKindOf(port.portText) != PortKind::Driver;
}

PrinterEnquiry::~PrinterEnquiry()
{
    close();
}

void PrinterEnquiry::note(bool failed, const std::string& why)
{
    if (failed && failure_.empty())
        failure_ = why;
}

bool PrinterEnquiry::open(const PortSettings& port)
{
    handle_ = OpenPrinterPort(port, sdk_, failure_);
    if (handle_ == PrinterSdk::NotOpened)
        return false;
    reader_ = std::make_unique<AnswerReader>(sdk_, handle_);
    note(sdk_.POS_StartDoc() < 0, sdk_.lastFailure());
    return true;
}

std::optional<std::string> PrinterEnquiry::ask(const std::string& request, const AnswerShape& shape)
{
    if (!reader_ || !failure_.empty())
        return std::nullopt;
    const auto count = static_cast<std::int32_t>(request.size());
    if (sdk_.POS_WriteFile(handle_, request.data(), count) != count) {
        note(true, sdk_.lastFailure());
        return std::nullopt;
    }
    std::optional<std::string> answer = reader_->await(shape);
    note(!reader_->failure().empty(), reader_->failure());
    return answer;
}

bool PrinterEnquiry::close()
{
    if (!reader_)
        return failure_.empty();
    reader_.reset();
    note(sdk_.POS_EndDoc() < 0, sdk_.lastFailure());
    note(ClosePrinterPort(sdk_) < 0, sdk_.lastFailure());
    return failure_.empty();
}

std::string PrinterEnquiry::notOpenedWords() const
{
    return std::string(CommandSender::PortErrorText) + " " + failure_;
}

std::string PrinterEnquiry::failedWords() const
{
    return "the printer's port failed: " + failure_;
}
