#include "DevicePrinterPort.h"

#include "OpenFailureReason.h"
#include "PortNames.h"

#include <QDeadlineTimer>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
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

    // Non-blocking, so that a FIFO without a reader fails instead of waiting for one, and a
    // printer that takes nothing cannot hold a write.
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
    descriptor_ = descriptor;
    return true;
}

qint64 DevicePrinterPort::boundMs(qint64 count)
{
    return BoundMs + count / BytesPerMs;
}

bool DevicePrinterPort::failTimeout(qint64 count)
{
    return fail(QStringLiteral("write to %1: the printer did not take the document within %2 s "
                               "(offline, out of paper or switched off?)")
                    .arg(path_)
                    .arg((boundMs(count) + 999) / 1000));
}

// The descriptor stays non-blocking from the open on: every wait is a poll() under the
// document's bound.
bool DevicePrinterPort::write(const char* data, qint64 count)
{
    const QDeadlineTimer deadline(boundMs(count));
    qint64 written = 0;
    while (written < count) {
        pollfd writable{descriptor_, POLLOUT, 0};
        const int ready = ::poll(&writable, 1, int(qMax<qint64>(deadline.remainingTime(), 0)));
        if (ready == 0)
            return failTimeout(count);
        const ssize_t n = ready < 0 ? -1 : writeWithoutSigpipe(data + written, count - written);
        if (n >= 0) {
            written += n;
        } else if (errno == EPIPE) {
            return fail(QStringLiteral("write to %1: nothing reads the device any more (%2 of %3 "
                                       "bytes taken)")
                            .arg(path_)
                            .arg(written)
                            .arg(count));
        } else if (errno == EAGAIN) {
            // Some printer drivers have no poll() of their own and are always "ready".
            ::poll(nullptr, 0, RetryMs);
        } else if (errno != EINTR) {
            return failSystem(QStringLiteral("write to"));
        }
    }
    return true;
}

// A reader that goes away must give EPIPE, never a SIGPIPE that ends the program. The signal
// is blocked for this thread only, and one that this write raised is taken before the old
// mask returns; a SIGPIPE that was pending already is left as it was.
ssize_t DevicePrinterPort::writeWithoutSigpipe(const char* data, qint64 count)
{
    sigset_t pipeSignal, previous, pending;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigpending(&pending);
    const bool pendingBefore = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const ssize_t n = ::write(descriptor_, data, size_t(count));
    const int error = errno;
    if (n < 0 && error == EPIPE && !pendingBefore) {
        const timespec now{0, 0};
        while (sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return n;
}

bool DevicePrinterPort::close()
{
    if (descriptor_ < 0)
        return true;
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result == 0 || failSystem(QStringLiteral("close"));
}
