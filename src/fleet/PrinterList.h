#pragma once

#include "PortNames.h"
#include "PortSettings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The printers of a run, one a line as the command line names a port: "ETHERNET 10.0.0.5",
// "ETHERNET printer-3.lan:9100", "COM3 19200", "LPT1", "DRIVER Label printer 2". Blank lines
// and "#" comments, also after a printer, are allowed.
struct FleetPrinter {
    int line = 0;
    std::string text; // the line without its comment, as the report names the printer
    PortSettings port;
    std::string device; // the device, queue or address, the same however the line spells it
};

namespace PrinterList
{

// Nothing, with "NAME:LINE: what is wrong", when a line names no printer or one named before.
std::optional<std::vector<FleetPrinter>> read(std::string_view text, const std::string& name,
                                              const PortNames::DevicePathStyle& paths,
                                              std::string& refusal);

} // namespace PrinterList
