#pragma once

#include "PrinterPort.h"
#include "PrinterSdk.h"

#include <functional>
#include <memory>

// Our printer SDK over ports of any kind: it checks the calls, numbers the handles and hands
// each open to a port of the open mode's kind, which the platform makes.
class SystemPrinterSdk : public PrinterSdk
{
public:
    // Empty for an open mode that the platform has no port for.
    using PortMaker = std::function<std::unique_ptr<PrinterPort>(std::int32_t openMode)>;

    explicit SystemPrinterSdk(PortMaker makePort);
    ~SystemPrinterSdk() override;

    std::int32_t POS_Open(const std::string& name, std::int32_t baudRate, std::int32_t dataBits,
                          std::int32_t stopBits, std::int32_t parity,
                          std::int32_t openMode) override;
    std::int32_t POS_StartDoc() override;
    std::int32_t POS_WriteFile(std::int32_t handle, const char* data, std::int32_t count) override;
    std::int32_t POS_EndDoc() override;
    std::int32_t POS_Close() override;
    std::int32_t POS_ReadFile(std::int32_t handle, char* buffer, std::int32_t capacity,
                              std::int32_t timeoutMs) override;
    std::string lastFailure() const override { return failure_; }

private:
    std::int32_t fail(std::string why);
    std::int32_t failPort();
    bool requireOpenPort();

    PortMaker makePort_;
    std::unique_ptr<PrinterPort> port_;
    std::int32_t handle_ = 0;
    std::int32_t nextHandle_ = 1;
    std::string failure_;
};
