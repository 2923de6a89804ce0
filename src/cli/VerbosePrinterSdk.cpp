#include "VerbosePrinterSdk.h"

#include "Decimals.h"

#include <algorithm>

VerbosePrinterSdk::VerbosePrinterSdk(PrinterSdk& sdk, std::ostream& err) : sdk_(sdk), err_(err) {}

void VerbosePrinterSdk::tell(const std::string& stage)
{
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start_;
    err_ << "blackmark: " << fixedDecimals(elapsed.count(), 1) << " ms " << stage << std::endl;
}

std::int32_t VerbosePrinterSdk::POS_Open(const std::string& name, std::int32_t baudRate,
                                         std::int32_t dataBits, std::int32_t stopBits,
                                         std::int32_t parity, std::int32_t openMode)
{
    const std::int32_t handle = sdk_.POS_Open(name, baudRate, dataBits, stopBits, parity, openMode);
    tell((handle == NotOpened ? "not opened: " : "opened: ") + name);
    return handle;
}

std::int32_t VerbosePrinterSdk::POS_StartDoc()
{
    return sdk_.POS_StartDoc();
}

std::int32_t VerbosePrinterSdk::POS_WriteFile(std::int32_t handle, const char* data,
                                              std::int32_t count)
{
    const std::int32_t written = sdk_.POS_WriteFile(handle, data, count);
    written_ = std::max(written, 0);
    tell(written == count ? "wrote " + std::to_string(count) + " bytes"
                          : "write failed after " + std::to_string(written_) + " of " +
                                std::to_string(count) + " bytes");
    return written;
}

std::int32_t VerbosePrinterSdk::POS_EndDoc()
{
    return sdk_.POS_EndDoc();
}

std::int32_t VerbosePrinterSdk::POS_Close()
{
    const std::int32_t result = sdk_.POS_Close();
    tell(result < 0 ? "close failed" : "closed");
    return result;
}

void VerbosePrinterSdk::confirm()
{
    tell("confirmed: the port took all " + std::to_string(written_) + " bytes and closed cleanly");
}
