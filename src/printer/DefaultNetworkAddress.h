#pragma once

#include <string_view>

// Where a new address box starts: a printer on a private network. One definition for the
// main window's address box, the IP address box control and the command line.
inline constexpr std::string_view DefaultNetworkAddress = "192.168.123.100";
