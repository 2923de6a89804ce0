#pragma once

#include <cstdint>
#include <vector>

// The IPv4 addresses of this computer's own network interfaces, in host order, as the system
// lists them. Each platform asks in its own file.
namespace NetworkInterfaces
{

std::vector<std::uint32_t> ipv4Addresses();

} // namespace NetworkInterfaces
