#pragma once

#include "PrinterQueues.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// One port of this machine, named by the port text that the window and --port take.
struct ListedPort {
    QString portText; // "COM1", "COM /dev/ttyUSB0", "LPT /dev/usb/lp0", "DRIVER"
    QString kind;     // "serial line", "parallel port", "USB printer", "printer queue"
    QString device;   // the device path, or the queue's device URI
    QString driver;   // the queue's name, for DRIVER
    QString description;
    QString usbVendorId, usbProductId; // four hex digits each, or empty
    QString ieee1284Id;                // the printer's "MFG:...;MDL:...;", or empty
    bool busy = false;
    QString holder; // which process holds it, when known
    QString state;  // a queue's state

    // One line: the port text first, then what it is.
    QString line() const;
    QJsonObject json() const;
};

// The ports that exist here: serial lines, parallel and USB printer devices, and the
// scheduler's queues. Devices are looked up under the root that BLACKMARK_DEVICE_ROOT names
// (tests build a fake /dev and /sys there), or under / when it is not set.
namespace PortListing
{

QString deviceRoot();
// Whether the kernel keeps the serial port's name (ttySn) with no UART behind it.
bool serialHardwareAbsent(const QString& path);
QList<ListedPort> serialLines();
QList<ListedPort> printerDevices();
QList<ListedPort> all(const QueueListing& queues);

} // namespace PortListing
