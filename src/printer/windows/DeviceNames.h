#pragma once

#include "PortNames.h"

#include <string_view>

// The device that a serial or printer port text opens here: "COMn" is \\.\COMn, which also
// reaches COM10 and up, "LPTn" is \\.\LPTn, and a path after COM or LPT stands for itself.
namespace DeviceNames
{

PortNames::DevicePort serialLine(std::string_view portText);
PortNames::DevicePort printerDevice(std::string_view portText);

// "COM3" for \\.\COM3; the path itself for any other.
std::string portName(const std::string& path);

} // namespace DeviceNames
