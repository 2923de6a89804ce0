#include "PortNames.h"

#include "UnicodeText.h"

#include <algorithm>
#include <optional>

namespace
{

bool allDecimalDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Reads a port number 1 to 65535; 0 when the text is not one.
std::uint16_t readPortNumber(std::string_view text)
{
    if (!allDecimalDigits(text) || text.size() > 5)
        return 0;
    const unsigned long value = std::stoul(std::string(text));
    return value <= 65535 ? static_cast<std::uint16_t>(value) : 0;
}

PortNames::NetworkAddress refuseAddress(std::string_view text, std::string_view why)
{
    PortNames::NetworkAddress address;
    // Appended, not a literal + a temporary, which GCC 12 takes for an overlapping copy.
    address.refusal.append("\"").append(text).append("\" is not a network address: ").append(why);
    return address;
}

bool fitsInHost(const UnicodeText::CodePoint& c)
{
    return c.valid && c.value != '[' && c.value != ']' && !UnicodeText::isSpace(c.value) &&
           UnicodeText::isPrintable(c.value);
}

PortNames::NetworkAddress hostAndPort(std::string_view text, std::string_view host,
                                      std::optional<std::string_view> port)
{
    if (host.empty())
        return refuseAddress(text, "the host is missing");
    for (std::size_t at = 0; at < host.size();) {
        const UnicodeText::CodePoint c = UnicodeText::decode(host, at);
        if (!fitsInHost(c))
            return refuseAddress(text, "the host has a character that no host name or address has");
        at += c.length;
    }
    PortNames::NetworkAddress address;
    address.host = host;
    if (port) {
        address.port = readPortNumber(*port);
        if (address.port == 0)
            return refuseAddress(text, "the port must be a number from 1 to 65535");
    }
    return address;
}

// "COM3" or "COM /dev/ttyUSB0" for the prefix "COM".
PortNames::DevicePort devicePort(std::string_view portText, std::string_view prefix,
                                 std::string_view kind, const PortNames::DevicePathStyle& paths)
{
    PortNames::DevicePort device;
    if (!portText.starts_with(prefix)) {
        device.refusal.append("\"")
            .append(portText)
            .append("\" does not begin with ")
            .append(prefix);
        return device;
    }
    const std::string_view rest = portText.substr(prefix.size());
    const std::string_view path = UnicodeText::trimmed(rest);
    if (!path.empty() && paths.starts.find(path.front()) != std::string_view::npos) {
        device.path = path;
        return device;
    }
    device.number = allDecimalDigits(rest) && rest.size() <= 9 ? std::stoll(std::string(rest)) : 0;
    if (device.number < 1) {
        device.number = 0;
        device.refusal = std::string("\"").append(portText) + "\" is not a " + std::string(kind) +
                         ": use " + std::string(prefix) +
                         " followed by a number from 1, or by a device path such as " +
                         std::string(prefix) + " " + std::string(paths.example);
    }
    return device;
}

} // namespace

namespace PortNames
{

std::string NetworkAddress::display() const
{
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

NetworkAddress readNetworkAddress(std::string_view text)
{
    if (text.empty())
        return refuseAddress(text, "it is empty");
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            return refuseAddress(text, "the \"]\" is missing");
        const std::string_view after = text.substr(close + 1);
        if (!after.empty() && !after.starts_with(':'))
            return refuseAddress(text, "only \":port\" may follow \"]\"");
        return hostAndPort(text, text.substr(1, close - 1),
                           after.empty() ? std::nullopt : std::optional(after.substr(1)));
    }
    const auto colons = std::count(text.begin(), text.end(), ':');
    if (colons == 1) {
        const std::size_t colon = text.find(':');
        return hostAndPort(text, text.substr(0, colon), text.substr(colon + 1));
    }
    // No colon: a host alone. Several: an IPv6 address without brackets, and so no port.
    return hostAndPort(text, text, std::nullopt);
}

NetworkAddress readListenAddress(std::string_view text)
{
    return allDecimalDigits(text) ? readNetworkAddress("127.0.0.1:" + std::string(text))
                                  : readNetworkAddress(text);
}

DevicePort readSerialPort(std::string_view portText, const DevicePathStyle& paths)
{
    return devicePort(portText, "COM", "serial port", paths);
}

DevicePort readParallelPort(std::string_view portText, const DevicePathStyle& paths)
{
    return devicePort(portText, "LPT", "parallel or USB printer port", paths);
}

} // namespace PortNames
