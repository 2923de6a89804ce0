#pragma once

#include "PrinterPort.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

// A parallel or USB printer device, or a FIFO standing in for one. Nothing else is opened,
// so that a mistyped path never overwrites a file.
class DevicePrinterPort : public PrinterPort
{
public:
    ~DevicePrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, std::int64_t count) override;
    bool close() override;
    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until) override;

private:
    bool failSystem(const std::string& action = {});
    bool failTimeout(std::int64_t count);
    ssize_t writeWithoutSigpipe(const char* data, std::int64_t count);

    int descriptor_ = -1;
    bool readable_ = false; // opened for reading too: a device that answers
    std::string path_;
};
