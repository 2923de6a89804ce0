#pragma once

#include "PrinterPort.h"
#include "PrinterQueue.h"

#include <memory>
#include <string>

// The printer queues live in a module of their own, blackmark-cups.so, loaded with libcups
// the first time a queue is used, so that no other port pays for the print system. It is
// looked for beside the program, then where it is installed relative to the program;
// BLACKMARK_CUPS_MODULE, a full path, overrides both.
namespace CupsModule
{

inline constexpr const char* FileName = "blackmark-cups.so";

// The module's entry points, with C linkage so that they are found by name. The number in
// the names changes with PrinterPort or QueueListing, so that a stale module is refused.
using MakeQueuePort = PrinterPort*();
using ListQueues = void(const std::string& server, QueueListing& listing);
inline constexpr const char* MakeQueuePortName = "blackmark_cups_make_queue_port_1";
inline constexpr const char* ListQueuesName = "blackmark_cups_list_queues_1";

// The module's queue port; when the module cannot be loaded, a port whose open says why.
std::unique_ptr<PrinterPort> queuePort();

} // namespace CupsModule
