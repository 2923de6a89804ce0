#pragma once

#include "ListedPort.h"
#include "PrinterQueue.h"

#include <vector>

// The ports that exist here: serial lines, parallel and USB printer devices, and the
// scheduler's queues. Each platform looks in its own file.
namespace PortListing
{

std::vector<ListedPort> serialLines();
std::vector<ListedPort> printerDevices();
std::vector<ListedPort> all(const QueueListing& queues);

} // namespace PortListing
