#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How the names that reach POS_Open are read.
namespace PortNames
{

constexpr std::uint16_t RawPrintingPort = 9100;

struct NetworkAddress {
    std::string host;
    std::uint16_t port = RawPrintingPort;
    std::string refusal; // empty when the text was read

    // As a person writes it back: 10.0.0.5:9100, [::1]:9100, printer.local:9100.
    std::string display() const;
};

// An IPv4 address or host name with an optional ":port", or an IPv6 address, in brackets
// when a port follows.
NetworkAddress readNetworkAddress(std::string_view text);

// What a listener takes: the same, or a bare port number, which listens on loopback.
NetworkAddress readListenAddress(std::string_view text);

struct DevicePath {
    std::string path;
    std::string refusal;
};

// "COMn" is the n-th serial port, /dev/ttyS(n-1); "COM" then a device path opens that path.
DevicePath serialDevicePath(std::string_view portText);
// "LPTn" is /dev/lp(n-1); "LPT" then a device path opens that path.
DevicePath parallelDevicePath(std::string_view portText);

} // namespace PortNames
