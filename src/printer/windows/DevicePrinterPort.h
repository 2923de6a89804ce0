#pragma once

#include "Deadline.h"
#include "PrinterPort.h"

#include <windows.h>

#include <cstdint>
#include <string>

// A parallel port, a USB printer's device or whatever an LPT name is mapped to. Every write
// and read is overlapped and waited for within its bound, then cancelled. A path that names
// a file on a disk is refused, so that a mistyped path never overwrites a file.
class DevicePrinterPort : public PrinterPort
{
public:
    ~DevicePrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, std::int64_t count) override;
    bool close() override;
    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until) override;

private:
    HANDLE openDevice(unsigned long access) const;
    bool failSystem(const std::string& action, unsigned long error);
    bool failTimeout(std::int64_t count);
    // The bytes moved by one overlapped call, waited for until the deadline; -1 on failure,
    // with the error in `error` (WAIT_TIMEOUT when the bound passed first).
    std::int64_t finish(OVERLAPPED& pending, const Deadline& deadline, unsigned long& error);

    HANDLE device_ = INVALID_HANDLE_VALUE;
    bool readable_ = false; // opened for reading too: a device that answers
    std::string path_;
    std::string name_; // "LPT1", or the path that was given
};
