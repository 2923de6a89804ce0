#include "DevicePrinterPort.h"

#include "DescriptorRead.h"
#include "DeviceNames.h"

#include "OpenFailureReason.h"
#include "PortNames.h"
#include "SendBounds.h"

#include "Deadline.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

DevicePrinterPort::~DevicePrinterPort()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

namespace
{
std::string systemAnswer(int error)
{
    return std::generic_category().message(error);
}
} // namespace

bool DevicePrinterPort::failSystem(const std::string& action)
{
    const std::string answer = systemAnswer(errno);
    return fail(action.empty() ? path_ + ": " + answer : action + " " + path_ + ": " + answer);
}

bool DevicePrinterPort::open(const PortOpenRequest& request)
{
    const PortNames::DevicePort device = DeviceNames::printerDevice(request.name);
    if (!device.refusal.empty())
        return fail(device.refusal);
    path_ = device.path;

    // Non-blocking, so that a FIFO without a reader fails instead of waiting for one, and a
    // printer that takes nothing cannot hold a write. A printer device is opened for its
    // answers too where it allows that; a FIFO never, since it would then read itself.
    struct stat status {
    };
    const int flags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    int descriptor = -1;
    if (::stat(path_.c_str(), &status) == 0 && S_ISCHR(status.st_mode))
        descriptor = ::open(path_.c_str(), O_RDWR | flags);
    readable_ = descriptor >= 0;
    if (descriptor < 0)
        descriptor = ::open(path_.c_str(), O_WRONLY | flags);
    if (descriptor < 0) {
        if (errno == ENXIO)
            return fail(path_ + ": no printer is attached (nothing reads it)");
        const int error = errno;
        return fail(OpenFailureReason::forDevice(OpenFailureReason::DeviceKind::PrinterDevice,
                                                 request.name, path_, error, systemAnswer(error)));
    }
    if (::fstat(descriptor, &status) != 0) {
        failSystem();
        ::close(descriptor);
        return false;
    }
    if (!S_ISCHR(status.st_mode) && !S_ISFIFO(status.st_mode)) {
        ::close(descriptor);
        return fail(path_ + ": not a printer device; refusing to write to it");
    }
    descriptor_ = descriptor;
    return true;
}

bool DevicePrinterPort::failTimeout(std::int64_t count)
{
    return fail(SendBounds::deviceDidNotTake(path_, count));
}

// The descriptor stays non-blocking from the open on: every wait is a poll() under the
// document's bound.
bool DevicePrinterPort::write(const char* data, std::int64_t count)
{
    const Deadline deadline(SendBounds::deviceMs(count));
    std::int64_t written = 0;
    while (written < count) {
        pollfd writable{descriptor_, POLLOUT, 0};
        const int ready = ::poll(&writable, 1, deadline.remainingMs());
        if (ready == 0)
            return failTimeout(count);
        const ssize_t n = ready < 0 ? -1 : writeWithoutSigpipe(data + written, count - written);
        if (n >= 0) {
            written += n;
        } else if (errno == EPIPE) {
            return fail("write to " + path_ + ": nothing reads the device any more (" +
                        std::to_string(written) + " of " + std::to_string(count) + " bytes taken)");
        } else if (errno == EAGAIN) {
            // Some printer drivers have no poll() of their own and are always "ready".
            ::poll(nullptr, 0, SendBounds::DeviceRetryMs);
        } else if (errno != EINTR) {
            return failSystem("write to");
        }
    }
    return true;
}

// A reader that goes away must give EPIPE, never a SIGPIPE that ends the program. The signal
// is blocked for this thread only, and one that this write raised is taken before the old
// mask returns; a SIGPIPE that was pending already is left as it was.
ssize_t DevicePrinterPort::writeWithoutSigpipe(const char* data, std::int64_t count)
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

std::int64_t DevicePrinterPort::read(char* buffer, std::int64_t capacity, const Deadline& until)
{
    if (!readable_)
        return PrinterPort::read(buffer, capacity, until);
    const std::int64_t n = readWithin(descriptor_, buffer, capacity, until);
    if (n < 0)
        failSystem("read from");
    return n;
}

bool DevicePrinterPort::close()
{
    if (descriptor_ < 0)
        return true;
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result == 0 || failSystem("close");
}
