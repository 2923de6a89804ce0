#include "OpenFailureReason.h"

#include "DeviceHolder.h"
#include "PortListing.h"
#include "WindowsText.h"

#include <windows.h>

namespace
{

using OpenFailureReason::DeviceKind;

std::string missing(DeviceKind kind, const std::string& name)
{
    const bool serial = kind == DeviceKind::SerialPort;
    const std::vector<ListedPort> present =
        serial ? PortListing::serialLines() : PortListing::printerDevices();
    const std::string what = serial ? "COM ports" : "printer ports";
    if (present.empty())
        return name + " does not exist, and this machine has no " + what +
               "; `blackmark ports` lists the ports it has";
    std::string names;
    for (const ListedPort& port : present)
        names += (names.empty() ? "" : ", ") + port.portText;
    return name + " does not exist; the " + what + " here are: " + names;
}

bool isMissing(unsigned long error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH ||
           error == ERROR_DEV_NOT_EXIST || error == ERROR_BAD_UNIT;
}

// A COM or LPT port that another program has open answers "access denied".
bool isBusy(unsigned long error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY;
}

} // namespace

namespace OpenFailureReason
{

std::string forDevice(DeviceKind kind, const std::string& name, const std::string& path,
                      unsigned long error)
{
    if (isMissing(error))
        return missing(kind, name);
    if (isBusy(error)) {
        const std::string holder = deviceHolder(path);
        if (!holder.empty())
            return name + " is busy: " + holder + " holds it; end that program and try again";
        return name + " is busy: another program holds it, such as a terminal, a printer "
                      "installed on that port while it prints, or the printer maker's utility; "
                      "end that program and try again";
    }
    return name + ": " + WindowsText::systemMessage(error);
}

} // namespace OpenFailureReason
