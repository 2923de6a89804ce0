#include "PortListing.h"

#include "DeviceHolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

namespace
{

QString readAttribute(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).trimmed()
                                          : QString();
}

// /dev/ttyS0 is COM1 and /dev/lp0 is LPT1; any other device is the prefix and its path.
QString portTextFor(const QString& root, const QString& path, QLatin1String prefix,
                    QLatin1String numbered)
{
    static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)([0-9]+)$"));
    const QRegularExpressionMatch match = trailingNumber.match(path.mid(root.size()));
    if (match.hasMatch() && match.captured(1) == numbered)
        return prefix + QString::number(match.captured(2).toInt() + 1);
    return prefix + u' ' + path;
}

// Numbered devices in their numbers' order: ttyS2 before ttyS10.
bool numberedBefore(const ListedPort& a, const ListedPort& b)
{
    static const QRegularExpression digits(QStringLiteral("([0-9]+)$"));
    const QString stemA = a.device.section(digits, 0, 0);
    const QString stemB = b.device.section(digits, 0, 0);
    if (stemA != stemB)
        return stemA < stemB;
    return a.device.mid(stemA.size()).toInt() < b.device.mid(stemB.size()).toInt();
}

QString fourHexDigits(quint16 id)
{
    return QStringLiteral("%1").arg(uint(id), 4, 16, QLatin1Char('0'));
}

void noteHolder(ListedPort& port)
{
    port.holder = deviceHolder(port.device);
    port.busy = !port.holder.isEmpty();
}

ListedPort serialLine(const QString& root, const QString& path)
{
    ListedPort port;
    port.portText = portTextFor(root, path, QLatin1String("COM"), QLatin1String("/dev/ttyS"));
    port.kind = QStringLiteral("serial line");
    port.device = path;
    noteHolder(port);
    return port;
}

QStringList devicesUnder(const QString& folder, const QString& pattern)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({pattern}, QDir::AllEntries | QDir::System))
        paths << dir.filePath(name);
    return paths;
}

ListedPort printerDevice(const QString& root, const QString& path, const QString& sysClass,
                         const QString& kind)
{
    ListedPort port;
    port.portText = portTextFor(root, path, QLatin1String("LPT"), QLatin1String("/dev/lp"));
    port.kind = kind;
    port.device = path;
    const QString sys = root + sysClass + u'/' + QFileInfo(path).fileName();
    port.ieee1284Id = readAttribute(sys + QStringLiteral("/device/ieee1284_id"));
    port.usbVendorId = readAttribute(sys + QStringLiteral("/device/../idVendor"));
    port.usbProductId = readAttribute(sys + QStringLiteral("/device/../idProduct"));
    noteHolder(port);
    return port;
}

} // namespace

QString ListedPort::line() const
{
    QStringList details;
    for (const QString& detail : {description, ieee1284Id, state}) {
        if (!detail.isEmpty())
            details << detail;
    }
    if (!usbVendorId.isEmpty())
        details << QStringLiteral("USB %1:%2").arg(usbVendorId, usbProductId);
    if (busy)
        details << (holder.isEmpty() ? QStringLiteral("busy") : "busy: " + holder);
    const bool named = portText.contains(u' ');
    QString text = portText + (driver.isEmpty() ? QString() : " --driver " + driver) + "  " + kind;
    if (!named && !device.isEmpty())
        text += u' ' + device;
    return details.isEmpty() ? text : text + ", " + details.join(QStringLiteral(", "));
}

QJsonObject ListedPort::json() const
{
    QJsonObject object{{"port", portText}, {"kind", kind}, {"device", device}, {"busy", busy}};
    const std::pair<const char*, QString> optional[] = {{"driver", driver},
                                                        {"description", description},
                                                        {"usbVendorId", usbVendorId},
                                                        {"usbProductId", usbProductId},
                                                        {"ieee1284Id", ieee1284Id},
                                                        {"holder", holder},
                                                        {"state", state}};
    for (const auto& [key, value] : optional) {
        if (!value.isEmpty())
            object.insert(QLatin1String(key), value);
    }
    return object;
}

namespace PortListing
{

QString deviceRoot()
{
    // Only tests set it.
    QString root = qEnvironmentVariable("BLACKMARK_DEVICE_ROOT");
    while (root.endsWith(u'/'))
        root.chop(1);
    return root;
}

bool serialHardwareAbsent(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (!name.startsWith(QLatin1String("ttyS")))
        return false;
    // Type 0 is the kernel's "unknown": no UART answered at that port.
    return readAttribute(deviceRoot() + QStringLiteral("/sys/class/tty/%1/type").arg(name)) ==
           QLatin1String("0");
}

QList<ListedPort> serialLines()
{
    const QString root = deviceRoot();
    QList<ListedPort> lines;
    if (!root.isEmpty()) {
        for (const char* pattern : {"ttyS*", "ttyUSB*", "ttyACM*"}) {
            for (const QString& path :
                 devicesUnder(root + QStringLiteral("/dev"), QLatin1String(pattern))) {
                if (!serialHardwareAbsent(path))
                    lines << serialLine(root, path);
            }
        }
    } else {
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
            ListedPort line = serialLine(root, info.systemLocation());
            line.description = info.description();
            if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
                line.usbVendorId = fourHexDigits(info.vendorIdentifier());
                line.usbProductId = fourHexDigits(info.productIdentifier());
            }
            lines << line;
        }
    }
    std::sort(lines.begin(), lines.end(), numberedBefore);
    return lines;
}

QList<ListedPort> printerDevices()
{
    const QString root = deviceRoot();
    QList<ListedPort> devices;
    for (const QString& path : devicesUnder(root + QStringLiteral("/dev"), QStringLiteral("lp*")))
        devices << printerDevice(root, path, QStringLiteral("/sys/class/printer"),
                                 QStringLiteral("parallel port"));
    for (const QString& path :
         devicesUnder(root + QStringLiteral("/dev/usb"), QStringLiteral("lp*")))
        devices << printerDevice(root, path, QStringLiteral("/sys/class/usbmisc"),
                                 QStringLiteral("USB printer"));
    std::sort(devices.begin(), devices.end(), numberedBefore);
    return devices;
}

QList<ListedPort> all(const QueueListing& queues)
{
    QList<ListedPort> ports = serialLines() + printerDevices();
    for (const PrinterQueue& queue : queues.queues) {
        ListedPort port;
        port.portText = QStringLiteral("DRIVER");
        port.kind = QStringLiteral("printer queue");
        port.driver = queue.name;
        port.device = queue.deviceUri;
        port.state = queue.stateText();
        ports << port;
    }
    return ports;
}

} // namespace PortListing
