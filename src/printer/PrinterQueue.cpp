#include "PrinterQueue.h"

std::string PrinterQueue::stateText() const
{
    std::string state = stopped ? "stopped" : printing ? "printing" : "idle";
    if (!accepting)
        state += ", not accepting jobs";
    if ((stopped || !accepting) && !reason.empty())
        state += ": " + reason;
    return state;
}

std::string PrinterQueue::refusalToPrint() const
{
    if (!stopped && accepting)
        return {};
    const std::string enable = "`cupsenable " + name + "`";
    const std::string accept = "`cupsaccept " + name + "`";
    const std::string fix = stopped && !accepting ? enable + " and " + accept
                            : stopped             ? enable
                                                  : accept;
    return "printer queue \"" + name + "\" is " + stateText() +
           "; once the printer is ready, let it print again with " + fix;
}

std::vector<std::string> QueueListing::names() const
{
    std::vector<std::string> names;
    for (const PrinterQueue& queue : queues)
        names.push_back(queue.name);
    return names;
}
