#include "SendBounds.h"

namespace SendBounds
{

namespace
{

std::string seconds(std::int64_t boundMs)
{
    return std::to_string(boundMs / 1000) + " s";
}

std::string bytesOf(std::int64_t done, std::int64_t requested)
{
    return std::to_string(done) + " of " + std::to_string(requested) + " bytes";
}

} // namespace

std::string noAnswer(const std::string& action, int boundMs)
{
    return action + ": no answer within " + seconds(boundMs);
}

std::string resetAfter(const std::string& printer, std::int64_t sent, std::int64_t requested)
{
    return printer + ": the printer reset the connection after " + bytesOf(sent, requested);
}

std::string notAllWentOut(const std::string& printer, std::int64_t sent, std::int64_t requested)
{
    return "write to " + printer + ": only " + bytesOf(sent, requested) + " went out within " +
           seconds(NetworkWriteMs);
}

std::string failedBefore(const std::string& action, const std::string& printer)
{
    return action + " " + printer + ": the connection has failed before";
}

std::string printerClosed(const std::string& printer)
{
    return "read from " + printer + ": the printer closed the connection";
}

std::int64_t deviceMs(std::int64_t count)
{
    return 10000 + count / 64;
}

std::string deviceDidNotTake(const std::string& device, std::int64_t count)
{
    return "write to " + device + ": the printer did not take the document within " +
           seconds(deviceMs(count) + 999) + " (offline, out of paper or switched off?)";
}

std::string queueDidNotAnswer()
{
    return "the printer's queue did not answer within " + seconds(QueueAnswerMs);
}

} // namespace SendBounds
