#pragma once

#include <cstdint>
#include <string>

// The five calls through which every byte reaches the printer. A send always runs
// POS_Open, then (unless it gave -1) POS_StartDoc, one POS_WriteFile, POS_EndDoc, POS_Close.
class PrinterSdk
{
public:
    static constexpr std::int32_t NotOpened = -1;

    virtual ~PrinterSdk() = default;

    // name is the port or device name in UTF-8; it keeps its length, so that a NUL inside it
    // can be refused.
    virtual std::int32_t POS_Open(const std::string& name, std::int32_t baudRate,
                                  std::int32_t dataBits, std::int32_t stopBits, std::int32_t parity,
                                  std::int32_t openMode) = 0;
    virtual std::int32_t POS_StartDoc() = 0;
    virtual std::int32_t POS_WriteFile(std::int32_t handle, const char* data,
                                       std::int32_t count) = 0;
    virtual std::int32_t POS_EndDoc() = 0;
    // Closes the port that the last POS_Open opened; it takes no handle.
    virtual std::int32_t POS_Close() = 0;
    // Takes what the printer has sent back, waiting at most timeoutMs for the first byte: the
    // count of bytes read, 0 when none came in time, -1 when the port cannot read.
    virtual std::int32_t POS_ReadFile(std::int32_t handle, char* buffer, std::int32_t capacity,
                                      std::int32_t timeoutMs) = 0;

    // Why the last failing call failed, in words for the user.
    virtual std::string lastFailure() const = 0;
};

// The open modes that the port kinds use.
namespace OpenMode
{
constexpr std::int32_t Serial = 1;
constexpr std::int32_t ParallelOrUsbDevice = 18;
constexpr std::int32_t PrinterQueue = 20;
constexpr std::int32_t Network = 21;
} // namespace OpenMode
