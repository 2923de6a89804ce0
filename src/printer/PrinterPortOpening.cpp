#include "PrinterPortOpening.h"

#include "PortKind.h"
#include "PrinterSdk.h"

std::int32_t OpenPrinterPort(const PortSettings& settings, PrinterSdk& sdk,
                             std::string& failureReason)
{
    const std::optional<OpenArguments> arguments = openArgumentsFor(settings);
    if (!arguments) {
        failureReason = "The port \"" + settings.portText +
                        "\" is none that this tool knows: it must begin with ETH, COM, LPT or "
                        "DRI." +
                        nearMissSuggestion(settings.portText);
        return PrinterSdk::NotOpened;
    }
    const std::int32_t handle =
        sdk.POS_Open(arguments->name, arguments->baudRate, arguments->dataBits, arguments->stopBits,
                     arguments->parity, arguments->openMode);
    failureReason = handle == PrinterSdk::NotOpened ? sdk.lastFailure() : std::string();
    return handle;
}

std::int32_t ClosePrinterPort(PrinterSdk& sdk)
{
    return sdk.POS_Close();
}
