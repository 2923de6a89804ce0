#include "SystemPorts.h"

#include "CupsModule.h"
#include "DevicePrinterPort.h"
#include "PrinterSdk.h"
#include "SerialPrinterPort.h"
#include "TcpPrinterPort.h"

std::unique_ptr<PrinterPort> systemPortFor(std::int32_t openMode)
{
    switch (openMode) {
    case OpenMode::Serial:
        return std::make_unique<SerialPrinterPort>();
    case OpenMode::ParallelOrUsbDevice:
        return std::make_unique<DevicePrinterPort>();
    case OpenMode::PrinterQueue:
        return CupsModule::queuePort();
    case OpenMode::Network:
        return std::make_unique<TcpPrinterPort>();
    default:
        return nullptr;
    }
}
