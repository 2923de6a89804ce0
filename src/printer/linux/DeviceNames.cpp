#include "DeviceNames.h"

namespace
{

PortNames::DevicePort numbered(PortNames::DevicePort port, const std::string& firstDevice)
{
    if (port.number > 0)
        port.path = firstDevice + std::to_string(port.number - 1);
    return port;
}

} // namespace

namespace DeviceNames
{

PortNames::DevicePort serialLine(std::string_view portText)
{
    return numbered(PortNames::readSerialPort(portText, PortNames::PosixDevicePaths), "/dev/ttyS");
}

PortNames::DevicePort printerDevice(std::string_view portText)
{
    return numbered(PortNames::readParallelPort(portText, PortNames::PosixDevicePaths), "/dev/lp");
}

} // namespace DeviceNames
