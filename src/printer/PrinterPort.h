#pragma once

#include "Deadline.h"

#include <cstdint>
#include <string>

// What POS_Open hands to the port of its open mode.
struct PortOpenRequest {
    std::string name;
    std::int32_t baudRate = 0;
    std::int32_t dataBits = 0;
    std::int32_t stopBits = 0;
    std::int32_t parity = 0;
};

// One kind of port: opened, written as one document, closed. Each kind keeps every call
// into the operating system in its own file.
class PrinterPort
{
public:
    virtual ~PrinterPort() = default;

    virtual bool open(const PortOpenRequest& request) = 0;
    virtual bool startDocument() { return true; }
    // Returns once every byte has been handed on, or fails.
    virtual bool write(const char* data, std::int64_t count) = 0;
    virtual bool endDocument() { return true; }
    // Must not discard bytes the printer has not taken yet.
    virtual bool close() = 0;
    // What the printer sent back, waiting for the first byte no longer than the deadline: the
    // count read, 0 when nothing came in time, -1 on failure. Kinds of port that carry nothing
    // back say so.
    virtual std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until)
    {
        (void)buffer, (void)capacity, (void)until;
        fail("this port carries nothing back from the printer");
        return -1;
    }

    // What was tried and what the system answered, for the last failure.
    const std::string& failure() const { return failure_; }

protected:
    bool fail(std::string why)
    {
        failure_ = std::move(why);
        return false;
    }

private:
    std::string failure_;
};
