#pragma once

#include "Deadline.h"
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
    static constexpr int SlackMs = 2000;

    ~CommPrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, std::int64_t count) override;
    bool close() override;
    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until) override;

    // Ten bits a byte at the line's rate, plus the slack.
    static std::int64_t boundMs(std::int64_t count, std::int32_t baudRate);

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
    std::int64_t written_ = 0;
    std::int64_t requested_ = 0;
    bool boundAfresh_ = false; // the next write starts a bound of its own
    Deadline deadline_{0LL};
};
