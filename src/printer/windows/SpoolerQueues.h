#pragma once

#include "PrinterQueue.h"

#include <windows.h>

#include <winspool.h>

#include <string>
#include <vector>

// The printers that the spooler has installed, local ones and connections, in its order.
namespace SpoolerQueues
{

// A printer's state as the spooler tells it; a paused printer or one used offline is
// stopped, and its reason says so in Windows words.
PrinterQueue queueOf(const PRINTER_INFO_2W& printer);

// The names alone, which the spooler answers without asking each printer.
std::vector<std::string> names();

// Why a document cannot go to the printer now, with what to do; empty when it can.
std::string refusalToPrint(const PrinterQueue& queue);

} // namespace SpoolerQueues
