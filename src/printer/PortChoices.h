#pragma once

#include <string_view>

// What the port list and the baud-rate list offer, in their order.
namespace PortChoices
{

inline constexpr std::string_view PortEntries[14] = {"ETHERNET", "COM1", "COM2", "COM3",  "COM4",
                                                     "COM5",     "COM6", "COM7", "COM8",  "COM9",
                                                     "LPT1",     "LPT2", "LPT3", "DRIVER"};

inline constexpr std::string_view BaudRates[4] = {"9600", "19200", "38400", "115200"};
inline constexpr int DefaultBaudRate = 1; // 19200

} // namespace PortChoices
