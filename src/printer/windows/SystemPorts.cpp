#include "SystemPorts.h"

#include "CommPrinterPort.h"
#include "DevicePrinterPort.h"
#include "PrinterSdk.h"
#include "SpoolerPrinterPort.h"
#include "WinsockPrinterPort.h"

std::unique_ptr<PrinterPort> systemPortFor(std::int32_t openMode)
{
    switch (openMode) {
    case OpenMode::Serial:
        return std::make_unique<CommPrinterPort>();
    case OpenMode::ParallelOrUsbDevice:
        return std::make_unique<DevicePrinterPort>();
    case OpenMode::PrinterQueue:
        return std::make_unique<SpoolerPrinterPort>();
    case OpenMode::Network:
        return std::make_unique<WinsockPrinterPort>();
    default:
        return nullptr;
    }
}
