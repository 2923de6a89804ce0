#pragma once

#include <string>

// The devices under the root that BLACKMARK_DEVICE_ROOT names (tests build a fake /dev and
// /sys there), or under / when it is not set.
namespace DeviceTree
{

// Empty for /; never ends in a slash.
std::string root();
// A sysfs attribute without the blanks around it; empty when it cannot be read.
std::string attribute(const std::string& path);
// Whether the kernel keeps the serial port's name (ttySn) with no UART behind it.
bool serialHardwareAbsent(const std::string& path);

} // namespace DeviceTree
