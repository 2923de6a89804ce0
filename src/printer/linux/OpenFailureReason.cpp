#include "OpenFailureReason.h"

#include "DeviceHolder.h"
#include "DeviceTree.h"
#include "PortListing.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace
{

using OpenFailureReason::DeviceKind;

// "COM3 (/dev/ttyS2)" when the port text is an alias, else the path alone.
std::string named(const std::string& portText, const std::string& path)
{
    return portText.find(path) != std::string::npos ? path : portText + " (" + path + ")";
}

std::string missing(DeviceKind kind, const std::string& portText, const std::string& path)
{
    const bool serial = kind == DeviceKind::SerialLine;
    const std::vector<ListedPort> present =
        serial ? PortListing::serialLines() : PortListing::printerDevices();
    const std::string what = serial ? "serial lines" : "printer devices";
    if (present.empty())
        return named(portText, path) + " does not exist, and this machine has no " + what +
               "; `blackmark ports` lists the ports it has";
    std::string names;
    for (const ListedPort& port : present)
        names += (names.empty() ? "" : ", ") + named(port.portText, port.device);
    return named(portText, path) + " does not exist; the " + what + " here are: " + names;
}

// Whether this user's account is in the group, though this login may not carry it yet.
bool accountInGroup(gid_t group)
{
    const passwd* account = ::getpwuid(::getuid());
    if (!account)
        return false;
    int count = 64;
    gid_t groups[64];
    if (::getgrouplist(account->pw_name, account->pw_gid, groups, &count) < 0)
        return false;
    return std::find(groups, groups + count, group) != groups + count;
}

std::string permissionDenied(const std::string& path)
{
    struct stat status {
    };
    if (::stat(path.c_str(), &status) != 0)
        return {};
    const group* owners = ::getgrgid(status.st_gid);
    const std::string groupName = owners ? owners->gr_name : std::to_string(status.st_gid);
    if (status.st_gid == 0 || !(status.st_mode & S_IWGRP))
        return "permission denied: only the owner of " + path +
               " may write to it; ask the administrator to give it a group such as dialout or lp";
    if (accountInGroup(status.st_gid))
        return "permission denied: " + path + " belongs to group " + groupName +
               ", which you joined after this login began; log out and in again";
    return "permission denied: " + path + " belongs to group " + groupName +
           "; add yourself with `sudo usermod -aG " + groupName + " $USER` and log in again";
}

// Opens the device once more, not blocking, to ask whether it is a terminal line at all.
bool isTerminalLine(const std::string& path, int& error)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        error = errno;
        return true; // cannot tell
    }
    termios settings{};
    const bool terminal = ::tcgetattr(descriptor, &settings) == 0 || errno != ENOTTY;
    ::close(descriptor);
    return terminal;
}

} // namespace

namespace OpenFailureReason
{

std::string forDevice(DeviceKind kind, const std::string& portText, const std::string& path,
                      int error, const std::string& systemAnswer)
{
    std::error_code unknown;
    if (!std::filesystem::exists(path, unknown) || error == ENOENT || error == ENODEV)
        return missing(kind, portText, path);
    if (error == EACCES || error == EPERM || ::access(path.c_str(), W_OK) != 0) {
        const std::string denied = permissionDenied(path);
        if (!denied.empty())
            return denied;
    }
    const bool serial = kind == DeviceKind::SerialLine;
    if (serial && !isTerminalLine(path, error))
        return path + " is not a serial line";
    // A serial line's open may fail on another program's lock without an errno to tell it.
    const std::string holder = serial || error == EBUSY ? deviceHolder(path) : std::string();
    if (!holder.empty())
        return path + " is busy: " + holder + " holds it; end that program and try again";
    if (error == EBUSY)
        return path + " is busy: another program holds it";
    return path + ": " + systemAnswer;
}

std::string absentSerialHardware(const std::string& portText, const std::string& path)
{
    if (!DeviceTree::serialHardwareAbsent(path))
        return {};
    const std::string present = missing(DeviceKind::SerialLine, portText, path);
    return named(portText, path) + " has no serial port behind it; " +
           present.substr(present.find("; ") + 2);
}

} // namespace OpenFailureReason
