#pragma once

#include "LineTime.h"
#include "PrinterPort.h"

#include <cstdint>
#include <string>
#include <termios.h>

// A printer on a serial line: 8 data bits, no parity, one stop bit, no flow control, raw.
// The document is written and drained within a bound that grows with the time the line
// needs for it.
class SerialPrinterPort : public PrinterPort
{
public:
    ~SerialPrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, std::int64_t count) override;
    bool close() override;
    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until) override;

private:
    bool failOpen(const PortOpenRequest& request, int error);
    bool failSystem(const std::string& action, int error);
    bool failTimeout();
    bool takeLine();
    bool configure();
    bool drain();
    void release();

    int line_ = -1;
    std::string path_;
    speed_t speed_ = B0;
    termios before_{}; // the line's settings as we found them, given back at the close
    LineTime lineTime_;
};
