#pragma once

#include "PortNames.h"

#include <string_view>

// The device that a serial or printer port text opens here: "COMn" is /dev/ttyS(n-1), "LPTn"
// is /dev/lp(n-1), and a path after COM or LPT stands for itself.
namespace DeviceNames
{

PortNames::DevicePort serialLine(std::string_view portText);
PortNames::DevicePort printerDevice(std::string_view portText);

} // namespace DeviceNames
