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

// How a platform writes a device's path: the characters one begins with, and how a refusal
// and the help show one.
struct DevicePathStyle {
    std::string_view starts;        // a path begins with one of these
    std::string_view example;       // "/dev/..."
    std::string_view serialExample; // "/dev/ttyUSB0"
};
inline constexpr DevicePathStyle PosixDevicePaths{"/", "/dev/...", "/dev/ttyUSB0"};
inline constexpr DevicePathStyle WindowsDevicePaths{"\\", "\\\\.\\...", "\\\\.\\COM10"};

// A serial or printer port as its text names it: the n-th port of its kind, which each
// platform maps to a device of its own, or a device by its path.
struct DevicePort {
    long long number = 0; // from 1; 0 when a path is named or the text is refused
    std::string path;
    std::string refusal;
};

// "COMn" is the n-th serial port; "COM" then a device path names that device.
DevicePort readSerialPort(std::string_view portText, const DevicePathStyle& paths);
// "LPTn" is the n-th parallel port; "LPT" then a device path names that device.
DevicePort readParallelPort(std::string_view portText, const DevicePathStyle& paths);

} // namespace PortNames
