#include "CupsModule.h"
#include "CupsQueues.h"
#include "QueuePrinterPort.h"

#include <type_traits>

// Only these leave the module; everything else in it is hidden.
#define BLACKMARK_MODULE_ENTRY extern "C" __attribute__((visibility("default")))

BLACKMARK_MODULE_ENTRY PrinterPort* blackmark_cups_make_queue_port_1()
{
    return new QueuePrinterPort;
}

BLACKMARK_MODULE_ENTRY void blackmark_cups_list_queues_1(const std::string& server,
                                                         QueueListing& listing)
{
    listing = CupsQueues::list(server);
}

static_assert(
    std::is_same_v<decltype(blackmark_cups_make_queue_port_1), CupsModule::MakeQueuePort>);
static_assert(std::is_same_v<decltype(blackmark_cups_list_queues_1), CupsModule::ListQueues>);
