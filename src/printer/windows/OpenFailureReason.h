#pragma once

#include <string>

// Why a port would not open, in words that say what to do next.
namespace OpenFailureReason
{

enum class DeviceKind { SerialPort, PrinterPort };

// name is what the user knows the port as ("COM3", or the path given), path what was opened
// and error what CreateFile left in GetLastError.
std::string forDevice(DeviceKind kind, const std::string& name, const std::string& path,
                      unsigned long error);

} // namespace OpenFailureReason
