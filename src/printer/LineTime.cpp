#include "LineTime.h"

#include <algorithm>
#include <utility>

std::int64_t LineTime::boundMs(std::int64_t count, std::int32_t baudRate)
{
    return count * 10 * 1000 / std::max(baudRate, 1) + SlackMs;
}

void LineTime::startWrite(std::int64_t count)
{
    if (requested_ == 0 || std::exchange(boundAfresh_, false))
        deadline_ = Deadline(boundMs(count, baudRate_));
    else
        deadline_.extend(Deadline::Milliseconds(boundMs(count, baudRate_) - SlackMs));
    requested_ += count;
}

std::string LineTime::overrun(const std::string& line) const
{
    return "write to " + line + ": the line took " + std::to_string(written_) + " of " +
           std::to_string(requested_) + " bytes within " +
           std::to_string(boundMs(requested_, baudRate_)) + " ms (is the printer on, and at " +
           std::to_string(baudRate_) + " baud?)";
}
