#pragma once

#include "PortSettings.h"

#include <QString>
#include <QtGlobal>

class PrinterSdk;

// Opens the port that the settings name through POS_Open and returns its handle.
// -1 when it could not be opened; failureReason then says why. A port text without a
// kind also gives -1 and calls nothing, since there is no port to write to.
qint32 OpenPrinterPort(const PortSettings& settings, PrinterSdk& sdk, QString& failureReason);

qint32 ClosePrinterPort(PrinterSdk& sdk);
