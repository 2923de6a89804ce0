#pragma once

#include "PrinterPort.h"

#include <memory>

// A port that only asks a printer on the network, by numeric IPv4 address: its connect has a
// bound of its own, and its close drops the connection at once, since nothing was sent to
// print. Each platform makes it in its own file.
std::unique_ptr<PrinterPort> makeProbePort(int connectBoundMs);
