#include "DeviceNames.h"

namespace
{

constexpr std::string_view DeviceNamespace = "\\\\.\\";

PortNames::DevicePort numbered(PortNames::DevicePort port, std::string_view prefix)
{
    if (port.number > 0)
        port.path =
            std::string(DeviceNamespace) + std::string(prefix) + std::to_string(port.number);
    return port;
}

} // namespace

namespace DeviceNames
{

PortNames::DevicePort serialLine(std::string_view portText)
{
    return numbered(PortNames::readSerialPort(portText, PortNames::WindowsDevicePaths), "COM");
}

PortNames::DevicePort printerDevice(std::string_view portText)
{
    return numbered(PortNames::readParallelPort(portText, PortNames::WindowsDevicePaths), "LPT");
}

std::string portName(const std::string& path)
{
    return path.starts_with(DeviceNamespace) ? path.substr(DeviceNamespace.size()) : path;
}

} // namespace DeviceNames
