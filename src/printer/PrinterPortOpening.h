#pragma once

#include "PortSettings.h"

#include <cstdint>
#include <string>

class PrinterSdk;

// Opens the port that the settings name through POS_Open and returns its handle.
// -1 when it could not be opened; failureReason then says why. A port text without a
// kind also gives -1 and calls nothing, since there is no port to write to.
std::int32_t OpenPrinterPort(const PortSettings& settings, PrinterSdk& sdk,
                             std::string& failureReason);

std::int32_t ClosePrinterPort(PrinterSdk& sdk);
