#include "SerialPrinterPort.h"

#include "OpenFailureReason.h"
#include "PortNames.h"
#include "QueuedDeviceWriting.h"

#include <cerrno>
#include <cstring>
#include <termios.h>

bool SerialPrinterPort::failPort(const QString& action)
{
    return fail(QStringLiteral("%1 %2: %3").arg(action, path_, port_.errorString()));
}

bool SerialPrinterPort::open(const PortOpenRequest& request)
{
    const PortNames::DevicePath device = PortNames::serialDevicePath(request.name);
    if (!device.refusal.isEmpty())
        return fail(device.refusal);
    if (request.baudRate <= 0)
        return fail(QStringLiteral("%1: the baud rate %2 is not one a line can run at")
                        .arg(device.path)
                        .arg(request.baudRate));
    path_ = device.path;
    if (const QString absent = OpenFailureReason::absentSerialHardware(request.name, path_);
        !absent.isEmpty())
        return fail(absent);
    port_.setPortName(path_);
    if (!port_.open(QIODevice::WriteOnly))
        return fail(OpenFailureReason::forDevice(OpenFailureReason::DeviceKind::SerialLine,
                                                 request.name, path_, 0, port_.errorString()));
    if (!configure(request)) {
        port_.close();
        return false;
    }
    return true;
}

bool SerialPrinterPort::configure(const PortOpenRequest& request)
{
    // The printer's line: 8N1 unless told otherwise, never flow control.
    const auto dataBits = request.dataBits >= 5 && request.dataBits <= 8
                              ? static_cast<QSerialPort::DataBits>(request.dataBits)
                              : QSerialPort::Data8;
    const auto parity = request.parity == 1   ? QSerialPort::OddParity
                        : request.parity == 2 ? QSerialPort::EvenParity
                                              : QSerialPort::NoParity;
    const auto stopBits = request.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop;
    if (!port_.setBaudRate(request.baudRate) || !port_.setDataBits(dataBits) ||
        !port_.setParity(parity) || !port_.setStopBits(stopBits) ||
        !port_.setFlowControl(QSerialPort::NoFlowControl))
        return failPort(QStringLiteral("set up"));
    return true;
}

bool SerialPrinterPort::write(const char* data, qint64 count)
{
    if (!writeAllAndWait(port_, data, count, WriteBoundMs))
        return failPort(QStringLiteral("write to"));
    return true;
}

bool SerialPrinterPort::close()
{
    if (!port_.isOpen())
        return true;
    bool drained = true;
    // The bytes must have left the host before the line is let go.
    if (::tcdrain(port_.handle()) != 0 && errno != ENOTTY)
        drained = fail(
            QStringLiteral("drain %1: %2").arg(path_, QString::fromLocal8Bit(strerror(errno))));
    port_.close();
    return drained;
}
