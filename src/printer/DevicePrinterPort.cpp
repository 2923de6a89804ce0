#include "DevicePrinterPort.h"

#include "OpenFailureReason.h"
#include "PortNames.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

DevicePrinterPort::~DevicePrinterPort()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool DevicePrinterPort::failSystem(const QString& action)
{
    const QString answer = QString::fromLocal8Bit(strerror(errno));
    return fail(action.isEmpty() ? QStringLiteral("%1: %2").arg(path_, answer)
                                 : QStringLiteral("%1 %2: %3").arg(action, path_, answer));
}

bool DevicePrinterPort::open(const PortOpenRequest& request)
{
    const PortNames::DevicePath device = PortNames::parallelDevicePath(request.name);
    if (!device.refusal.isEmpty())
        return fail(device.refusal);
    path_ = device.path;
    const QByteArray path = QFile::encodeName(path_);

    // Non-blocking, so that a FIFO without a reader fails instead of waiting for one.
    const int descriptor = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENXIO)
            return fail(QStringLiteral("%1: no printer is attached (nothing reads it)").arg(path_));
        const int error = errno;
        return fail(OpenFailureReason::forDevice(OpenFailureReason::DeviceKind::PrinterDevice,
                                                 request.name, path_, error,
                                                 QString::fromLocal8Bit(strerror(error))));
    }
    struct stat status {
    };
    if (::fstat(descriptor, &status) != 0) {
        failSystem(QString());
        ::close(descriptor);
        return false;
    }
    if (!S_ISCHR(status.st_mode) && !S_ISFIFO(status.st_mode)) {
        ::close(descriptor);
        return fail(QStringLiteral("%1: not a printer device; refusing to write to it").arg(path_));
    }
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        failSystem(QString());
        ::close(descriptor);
        return false;
    }
    descriptor_ = descriptor;
    return true;
}

bool DevicePrinterPort::write(const char* data, qint64 count)
{
    qint64 written = 0;
    while (written < count) {
        const ssize_t n =
            ::write(descriptor_, data + written, static_cast<size_t>(count - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failSystem(QStringLiteral("write to"));
        }
        written += n;
    }
    return true;
}

bool DevicePrinterPort::close()
{
    if (descriptor_ < 0)
        return true;
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result == 0 || failSystem(QStringLiteral("close"));
}
