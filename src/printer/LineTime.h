#pragma once

#include "Deadline.h"

#include <cstdint>
#include <string>

// The time a serial line may take for a document: ten bits a byte at the line's rate, plus a
// slack, over all the writes of one send. Waiting for an answer is not line time, so a write
// after a read starts a bound of its own.
class LineTime
{
public:
    static constexpr int SlackMs = 2000;

    static std::int64_t boundMs(std::int64_t count, std::int32_t baudRate);

    explicit LineTime(std::int32_t baudRate = 0) : baudRate_(baudRate) {}

    // Before `count` bytes are written: the deadline takes their time in.
    void startWrite(std::int64_t count);
    void wrote(std::int64_t count) { written_ += count; }
    void answerAwaited() { boundAfresh_ = true; }

    const Deadline& deadline() const { return deadline_; }
    // Why the line failed when the deadline passed; `line` names it.
    std::string overrun(const std::string& line) const;

private:
    std::int32_t baudRate_;
    std::int64_t written_ = 0;
    std::int64_t requested_ = 0;
    bool boundAfresh_ = false;
    Deadline deadline_{0LL};
};
