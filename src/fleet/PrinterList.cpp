#include "PrinterList.h"

#include "PortChoices.h"
#include "PortKind.h"
#include "UnicodeText.h"

#include <algorithm>
#include <map>

namespace
{

using UnicodeText::trimmed;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The line up to a "#" that begins it or follows a blank.
std::string_view withoutComment(std::string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || isBlank(line[i - 1])))
            return line.substr(0, i);
    }
    return line;
}

std::string lowered(std::string_view text)
{
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return lower;
}

// The printer a line names; the refusal when it names none.
std::string readLine(std::string_view text, const PortNames::DevicePathStyle& paths,
                     FleetPrinter& printer)
{
    const std::size_t blank = std::min(text.find_first_of(" \t"), text.size());
    const std::string first(text.substr(0, blank));
    const std::string rest(trimmed(text.substr(blank)));
    PortSettings& port = printer.port;
    port = {first, "", "", "19200"};
    switch (portKindOf(first)) {
    case PortKind::Network: {
        if (rest.empty() || rest.find_first_of(" \t") != std::string::npos)
            return "give one network address after " + first + ", such as " + first +
                   " 192.168.1.50 or " + first + " printer-3.lan:9100";
        const PortNames::NetworkAddress address = PortNames::readNetworkAddress(rest);
        if (!address.refusal.empty())
            return address.refusal;
        port.networkAddress = rest;
        printer.device = "network " + lowered(address.display());
        return {};
    }
    case PortKind::Driver:
        if (rest.empty())
            return "give the printer queue's name after " + first;
        port.driverName = rest;
        printer.device = "queue " + rest;
        return {};
    case PortKind::Serial:
    case PortKind::Parallel: {
        // A serial line may end in its baud rate; the rest names the port.
        std::string portText(text);
        const std::size_t last = portText.find_last_of(" \t");
        const bool serial = portKindOf(first) == PortKind::Serial;
        if (serial && last != std::string::npos) {
            const std::string rate = portText.substr(last + 1);
            if (std::ranges::find(PortChoices::BaudRates, rate) !=
                std::end(PortChoices::BaudRates)) {
                port.baudRateText = rate;
                portText = trimmed(portText.substr(0, last));
            }
        }
        port.portText = portText;
        const PortNames::DevicePort device = serial ? PortNames::readSerialPort(portText, paths)
                                                    : PortNames::readParallelPort(portText, paths);
        if (!device.refusal.empty())
            return device.refusal;
        printer.device = std::string(serial ? "serial " : "parallel ") +
                         (device.number ? std::to_string(device.number) : device.path);
        return {};
    }
    case PortKind::None:
        break;
    }
    return "\"" + std::string(text) +
           "\" names no printer: begin with ETHERNET, COM, LPT or DRIVER";
}

} // namespace

namespace PrinterList
{

std::optional<std::vector<FleetPrinter>> read(std::string_view text, const std::string& name,
                                              const PortNames::DevicePathStyle& paths,
                                              std::string& refusal)
{
    std::vector<FleetPrinter> printers;
    std::map<std::string, int> seen; // device, first line
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trimmed(withoutComment(text.substr(0, end)));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty())
            continue;
        FleetPrinter printer{number, std::string(line), {}, {}};
        std::string why = readLine(line, paths, printer);
        if (why.empty() && seen.contains(printer.device))
            why = "the printer of line " + std::to_string(seen[printer.device]) + " again";
        if (!why.empty()) {
            refusal = name + ":" + std::to_string(number) + ": " + why;
            return std::nullopt;
        }
        seen[printer.device] = number;
        printers.push_back(std::move(printer));
    }
    if (printers.empty()) {
        refusal = name + ":" + std::to_string(std::max(number, 1)) + ": no printer listed";
        return std::nullopt;
    }
    return printers;
}

} // namespace PrinterList
