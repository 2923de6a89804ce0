#pragma once

#include "LineTime.h"
#include "PrinterPort.h"

#include <windows.h>

#include <cstdint>
#include <string>

// A printer on a COM port: 8 data bits, no parity, one stop bit, no flow control. The comm
// timeouts end each write within the time the line needs for it plus the slack, and the
// close waits for the output queue to empty within the same bound.
class CommPrinterPort : public PrinterPort
{
public:
    ~CommPrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, std::int64_t count) override;
    bool close() override;
    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until) override;

private:
    bool failSystem(const std::string& action, unsigned long error);
    bool failTimeout();
    bool configure();
    bool setTimeouts(const COMMTIMEOUTS& timeouts);
    bool drain();
    void release();

    HANDLE line_ = INVALID_HANDLE_VALUE;
    std::string name_; // "COM3", or the path that was given
    std::int32_t baudRate_ = 0;
    DCB before_{}; // the port's settings as we found them, given back at the close
    COMMTIMEOUTS timeoutsBefore_{};
    LineTime lineTime_;
};
