#pragma once

#include "PrinterQueue.h"

#include <string>

// The print scheduler's queues, asked directly so that an unreachable scheduler is told
// apart from one without queues. Each platform answers it in its own file.
namespace PrinterQueues
{

// server: a host or socket path; empty for the platform's own scheduler.
QueueListing list(const std::string& server = {});

} // namespace PrinterQueues
