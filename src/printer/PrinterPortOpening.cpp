#include "PrinterPortOpening.h"

#include "OpenFailureReason.h"
#include "PortKind.h"
#include "PrinterSdk.h"

qint32 OpenPrinterPort(const PortSettings& settings, PrinterSdk& sdk, QString& failureReason)
{
    const std::optional<OpenArguments> arguments = openArgumentsFor(settings);
    if (!arguments) {
        failureReason = QStringLiteral("The port \"%1\" is none that this tool knows: it must "
                                       "begin with ETH, COM, LPT or DRI.")
                            .arg(settings.portText) +
                        OpenFailureReason::nearMissSuggestion(settings.portText);
        return PrinterSdk::NotOpened;
    }
    const qint32 handle = sdk.POS_Open(arguments->name, arguments->baudRate, arguments->dataBits,
                                       arguments->stopBits, arguments->parity, arguments->openMode);
    failureReason = handle == PrinterSdk::NotOpened ? sdk.lastFailure() : QString();
    return handle;
}

qint32 ClosePrinterPort(PrinterSdk& sdk)
{
    return sdk.POS_Close();
}
