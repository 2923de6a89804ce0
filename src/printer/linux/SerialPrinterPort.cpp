#include "SerialPrinterPort.h"

#include "OpenFailureReason.h"
#include "PortNames.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
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
    baudRate_ = request.baudRate;
    if (const QString absent = OpenFailureReason::absentSerialHardware(request.name, path_);
        !absent.isEmpty())
        return fail(absent);
    port_.setPortName(path_);
    if (!port_.open(QIODevice::WriteOnly))
        return fail(OpenFailureReason::forDevice(OpenFailureReason::DeviceKind::SerialLine,
                                                 request.name, path_, 0, port_.errorString()));
    // Writes wait in poll() under the document's bound, never in write().
    const int flags = ::fcntl(port_.handle(), F_GETFL);
    if (flags < 0 || ::fcntl(port_.handle(), F_SETFL, flags | O_NONBLOCK) != 0) {
        failSystem(QStringLiteral("set up"), errno);
        port_.close();
        return false;
    }
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

qint64 SerialPrinterPort::boundMs(qint64 count, qint32 baudRate)
{
    return count * 10 * 1000 / qMax(baudRate, 1) + SlackMs;
}

bool SerialPrinterPort::failSystem(const QString& action, int error)
{
    return fail(
        QStringLiteral("%1 %2: %3").arg(action, path_, QString::fromLocal8Bit(strerror(error))));
}

bool SerialPrinterPort::failTimeout()
{
    // Bytes still queued would hold up the close for as long as the driver waits for them.
    ::tcflush(port_.handle(), TCOFLUSH);
    return fail(QStringLiteral("write to %1: the line took %2 of %3 bytes within %4 ms "
                               "(is the printer on, and at %5 baud?)")
                    .arg(path_)
                    .arg(written_)
                    .arg(requested_)
                    .arg(boundMs(requested_, baudRate_))
                    .arg(baudRate_));
}

bool SerialPrinterPort::write(const char* data, qint64 count)
{
    if (requested_ == 0)
        deadline_ = QDeadlineTimer(boundMs(count, baudRate_));
    else
        deadline_ += boundMs(count, baudRate_) - SlackMs;
    requested_ += count;
    const int line = port_.handle();
    qint64 done = 0;
    while (done < count) {
        pollfd writable{line, POLLOUT, 0};
        const int ready = ::poll(&writable, 1, int(qMax<qint64>(deadline_.remainingTime(), 0)));
        if (ready == 0)
            return failTimeout();
        const ssize_t n = ready < 0 ? -1 : ::write(line, data + done, size_t(count - done));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return failSystem(QStringLiteral("write to"), errno);
        done += qMax<ssize_t>(n, 0);
        written_ += qMax<ssize_t>(n, 0);
    }
    return true;
}

// The bytes must have left the host before the line is let go. tcdrain takes no bound, so
// the output queue is watched until it is empty first.
bool SerialPrinterPort::drain()
{
    const int line = port_.handle();
    for (int queued = 0; ::ioctl(line, TIOCOUTQ, &queued) == 0 && queued > 0;) {
        if (deadline_.hasExpired())
            return failTimeout();
        ::poll(nullptr, 0, 10);
    }
    if (::tcdrain(line) != 0 && errno != ENOTTY)
        return failSystem(QStringLiteral("drain"), errno);
    return true;
}

bool SerialPrinterPort::close()
{
    if (!port_.isOpen())
        return true;
    const bool drained = drain();
    port_.close();
    return drained;
}
