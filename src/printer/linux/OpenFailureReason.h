#pragma once

#include <string>

// Why a port would not open, in words that say what to do next. Each looks at the device
// itself, so that the reason holds whatever layer gave up first.
namespace OpenFailureReason
{

enum class DeviceKind { SerialLine, PrinterDevice };

// portText is what the user chose ("COM3"), path the device it names, error the errno of the
// failed open (0 when unknown) and systemAnswer what the system said, used when nothing more
// helpful can be found.
std::string forDevice(DeviceKind kind, const std::string& portText, const std::string& path,
                      int error, const std::string& systemAnswer);

// Set when the serial port's name is reserved but no serial port hardware answers there, so
// that nothing is "sent" into a line that does not exist; empty otherwise.
std::string absentSerialHardware(const std::string& portText, const std::string& path);

} // namespace OpenFailureReason
