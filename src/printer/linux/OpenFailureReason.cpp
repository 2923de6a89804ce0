#include "OpenFailureReason.h"

#include "DeviceHolder.h"
#include "PortKind.h"
#include "PortListing.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace
{

using OpenFailureReason::DeviceKind;

// "COM3 (/dev/ttyS2)" when the port text is an alias, else the path alone.
QString named(const QString& portText, const QString& path)
{
    return portText.contains(path) ? path : QStringLiteral("%1 (%2)").arg(portText, path);
}

QString missing(DeviceKind kind, const QString& portText, const QString& path)
{
    const bool serial = kind == DeviceKind::SerialLine;
    const QList<ListedPort> present =
        serial ? PortListing::serialLines() : PortListing::printerDevices();
    const QString what =
        serial ? QStringLiteral("serial lines") : QStringLiteral("printer devices");
    if (present.isEmpty())
        return QStringLiteral("%1 does not exist, and this machine has no %2; `blackmark ports` "
                              "lists the ports it has")
            .arg(named(portText, path), what);
    QStringList names;
    for (const ListedPort& port : present)
        names << named(port.portText, port.device);
    return QStringLiteral("%1 does not exist; the %2 here are: %3")
        .arg(named(portText, path), what, names.join(QStringLiteral(", ")));
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

QString permissionDenied(const QString& path)
{
    struct stat status {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    const group* owners = ::getgrgid(status.st_gid);
    const QString groupName =
        owners ? QString::fromLocal8Bit(owners->gr_name) : QString::number(status.st_gid);
    if (status.st_gid == 0 || !(status.st_mode & S_IWGRP))
        return QStringLiteral("permission denied: only the owner of %1 may write to it; ask the "
                              "administrator to give it a group such as dialout or lp")
            .arg(path);
    if (accountInGroup(status.st_gid))
        return QStringLiteral("permission denied: %1 belongs to group %2, which you joined after "
                              "this login began; log out and in again")
            .arg(path, groupName);
    return QStringLiteral("permission denied: %1 belongs to group %2; add yourself with "
                          "`sudo usermod -aG %2 $USER` and log in again")
        .arg(path, groupName);
}

// Opens the device once more, not blocking, to ask whether it is a terminal line at all.
bool isTerminalLine(const QString& path, int& error)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
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

QString forDevice(DeviceKind kind, const QString& portText, const QString& path, int error,
                  const QString& systemAnswer)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (!QFileInfo::exists(path) || error == ENOENT || error == ENODEV)
        return missing(kind, portText, path);
    if (error == EACCES || error == EPERM || ::access(encoded.constData(), W_OK) != 0) {
        const QString denied = permissionDenied(path);
        if (!denied.isEmpty())
            return denied;
    }
    const bool serial = kind == DeviceKind::SerialLine;
    if (serial && !isTerminalLine(path, error))
        return QStringLiteral("%1 is not a serial line").arg(path);
    // A serial line's open fails on another program's lock without an errno to tell it.
    const QString holder = serial || error == EBUSY ? deviceHolder(path) : QString();
    if (!holder.isEmpty())
        return QStringLiteral("%1 is busy: %2 holds it; end that program and try again")
            .arg(path, holder);
    if (error == EBUSY)
        return QStringLiteral("%1 is busy: another program holds it").arg(path);
    return QStringLiteral("%1: %2").arg(path, systemAnswer);
}

QString absentSerialHardware(const QString& portText, const QString& path)
{
    if (!PortListing::serialHardwareAbsent(path))
        return {};
    return QStringLiteral("%1 has no serial port behind it; ").arg(named(portText, path)) +
           missing(DeviceKind::SerialLine, portText, path).section(QStringLiteral("; "), 1);
}

QString nearMissSuggestion(const QString& portText)
{
    const QString trimmed = portText.trimmed();
    const QString word = trimmed.left(3).toUpper() + trimmed.mid(3);
    if (portKindOf(word) == PortKind::None)
        return {};
    QString suggestion = word;
    for (const char* full : {"ETHERNET", "DRIVER"}) {
        if (QLatin1String(full).startsWith(word, Qt::CaseInsensitive))
            suggestion = QLatin1String(full);
    }
    return QStringLiteral(" Did you mean \"%1\"?").arg(suggestion);
}

} // namespace OpenFailureReason
