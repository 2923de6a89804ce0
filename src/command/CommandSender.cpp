#include "CommandSender.h"

#include "HexCommandText.h"
#include "PrinterPortOpening.h"
#include "PrinterSdk.h"

#include <optional>

CommandSender::CommandSender(PrinterSdk& sdk, UserMessages& messages, WindowValues& values)
    : sdk_(sdk), messages_(messages), values_(values)
{
}

SendOutcome CommandSender::SendHexCommand(std::string& text, const PortSettings& port)
{
    const HexEncoding encoding = encodeHexCommandText(text);
    if (!encoding.accepted()) {
        messages_.show(
            {CommandRefusedText, PortErrorTitle, UserMessage::Icon::Error, encoding.refusal});
        return {SendOutcome::Result::Refused, encoding.refusal};
    }

    std::string failureReason;
    values_.PortHandle = OpenPrinterPort(port, sdk_, failureReason);
    if (values_.PortHandle == PrinterSdk::NotOpened) {
        messages_.show({PortErrorText, PortErrorTitle, UserMessage::Icon::Error, failureReason});
        return {SendOutcome::Result::PortNotOpened, failureReason};
    }

    // Once the port is open the document is always completed and the port closed.
    const auto count = static_cast<std::int32_t>(encoding.bytes.size());
    std::optional<std::string> firstFailure;
    const auto noteFailure = [&](bool failed) {
        if (failed && !firstFailure)
            firstFailure = sdk_.lastFailure();
    };
    const std::int32_t started = sdk_.POS_StartDoc();
    values_.DocFlag = started != 0;
    noteFailure(started < 0);
    values_.LastResult = sdk_.POS_WriteFile(
        values_.PortHandle, reinterpret_cast<const char*>(encoding.bytes.data()), count);
    noteFailure(values_.LastResult != count);
    const std::int32_t ended = sdk_.POS_EndDoc();
    values_.DocFlag = ended != 0;
    noteFailure(ended < 0);
    values_.LastResult = ClosePrinterPort(sdk_);
    noteFailure(values_.LastResult < 0);

    if (!firstFailure)
        return {};
    messages_.show({DocumentFailedText, PortErrorTitle, UserMessage::Icon::Error, *firstFailure});
    return {SendOutcome::Result::DocumentFailed, *firstFailure};
}
