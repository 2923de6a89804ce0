#pragma once

#include "PrinterQueue.h"

#include <string>

typedef struct _ipp_s ipp_t;

// The scheduler's queues as libcups tells them; the printer-queue module's side of
// PrinterQueues.
namespace CupsQueues
{

// server: a host or socket path; empty for the scheduler that libcups is set up for.
QueueListing list(const std::string& server);

// The queue that a scheduler's answer about one printer describes.
PrinterQueue queueIn(ipp_t* answer);

} // namespace CupsQueues
