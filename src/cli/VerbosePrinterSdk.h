#pragma once

#include "PrinterSdk.h"

#include <chrono>
#include <ostream>

// Passes every call on and tells each stage of the send on the error stream, with the time
// since the command line started.
class VerbosePrinterSdk : public PrinterSdk
{
public:
    VerbosePrinterSdk(PrinterSdk& sdk, std::ostream& err);

    std::int32_t POS_Open(const std::string& name, std::int32_t baudRate, std::int32_t dataBits,
                          std::int32_t stopBits, std::int32_t parity,
                          std::int32_t openMode) override;
    std::int32_t POS_StartDoc() override;
    std::int32_t POS_WriteFile(std::int32_t handle, const char* data, std::int32_t count) override;
    std::int32_t POS_EndDoc() override;
    std::int32_t POS_Close() override;
    std::int32_t POS_ReadFile(std::int32_t handle, char* buffer, std::int32_t capacity,
                              std::int32_t timeoutMs) override
    {
        return sdk_.POS_ReadFile(handle, buffer, capacity, timeoutMs);
    }
    std::string lastFailure() const override { return sdk_.lastFailure(); }

    // The last stage: every call succeeded, the close included.
    void confirm();

private:
    void tell(const std::string& stage);

    PrinterSdk& sdk_;
    std::ostream& err_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::int32_t written_ = 0;
};
