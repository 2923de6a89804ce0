#include "SerialPrinterPort.h"

#include "DescriptorRead.h"
#include "DeviceNames.h"

#include "OpenFailureReason.h"
#include "PortNames.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace
{

struct LineRate {
    std::int32_t baudRate;
    speed_t speed;
};

// The rates the line's driver is told through the standard constants.
constexpr LineRate LineRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000}};

// B0 when the rate has no constant.
speed_t speedFor(std::int32_t baudRate)
{
    const auto rate = std::find_if(std::begin(LineRates), std::end(LineRates),
                                   [&](const LineRate& r) { return r.baudRate == baudRate; });
    return rate == std::end(LineRates) ? B0 : rate->speed;
}

std::string systemAnswer(int error)
{
    return std::generic_category().message(error);
}

} // namespace

SerialPrinterPort::~SerialPrinterPort()
{
    release();
}

bool SerialPrinterPort::open(const PortOpenRequest& request)
{
    const PortNames::DevicePort device = DeviceNames::serialLine(request.name);
    if (!device.refusal.empty())
        return fail(device.refusal);
    if (request.baudRate <= 0)
        return fail(device.path + ": the baud rate " + std::to_string(request.baudRate) +
                    " is not one a line can run at");
    speed_ = speedFor(request.baudRate);
    if (speed_ == B0)
        return fail(device.path + ": the baud rate " + std::to_string(request.baudRate) +
                    " is not one a serial line here runs at; use a standard rate such as 9600, "
                    "19200, 38400 or 115200");
    path_ = device.path;
    lineTime_ = LineTime(request.baudRate);
    if (const std::string absent = OpenFailureReason::absentSerialHardware(request.name, path_);
        !absent.empty())
        return fail(absent);
    // Non-blocking, so that the open does not wait for the carrier and writes wait in poll()
    // under the document's bound, never in write().
    line_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (line_ < 0)
        return failOpen(request, errno);
    if (!takeLine()) {
        const int error = errno;
        ::close(std::exchange(line_, -1));
        return failOpen(request, error);
    }
    if (!configure()) {
        release();
        return false;
    }
    return true;
}

bool SerialPrinterPort::failOpen(const PortOpenRequest& request, int error)
{
    return fail(OpenFailureReason::forDevice(OpenFailureReason::DeviceKind::SerialLine,
                                             request.name, path_, error, systemAnswer(error)));
}

// One holder at a time: the lock stops a second open of ours even by root or in this
// process, exclusive mode any other program's open that is not root's.
bool SerialPrinterPort::takeLine()
{
    if (::flock(line_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            errno = EBUSY;
        return false;
    }
    return ::ioctl(line_, TIOCEXCL) == 0 && ::tcgetattr(line_, &before_) == 0;
}

bool SerialPrinterPort::configure()
{
    termios settings = before_;
    ::cfmakeraw(&settings);
    // The printer's line: 8N1, never flow control.
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speed_) != 0 || ::cfsetospeed(&settings, speed_) != 0 ||
        ::tcsetattr(line_, TCSANOW, &settings) != 0)
        return failSystem("set up", errno);
    return true;
}

bool SerialPrinterPort::failSystem(const std::string& action, int error)
{
    return fail(action + " " + path_ + ": " + systemAnswer(error));
}

bool SerialPrinterPort::failTimeout()
{
    // Bytes still queued would hold up the close for as long as the driver waits for them.
    ::tcflush(line_, TCOFLUSH);
    return fail(lineTime_.overrun(path_));
}

bool SerialPrinterPort::write(const char* data, std::int64_t count)
{
    lineTime_.startWrite(count);
    std::int64_t done = 0;
    while (done < count) {
        pollfd writable{line_, POLLOUT, 0};
        const int ready = ::poll(&writable, 1, lineTime_.deadline().remainingMs());
        if (ready == 0)
            return failTimeout();
        const ssize_t n = ready < 0 ? -1 : ::write(line_, data + done, size_t(count - done));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return failSystem("write to", errno);
        done += std::max<ssize_t>(n, 0);
        lineTime_.wrote(std::max<ssize_t>(n, 0));
    }
    return true;
}

// The bytes must have left the host before the line is let go. tcdrain takes no bound, so
// the output queue is watched until it is empty first.
bool SerialPrinterPort::drain()
{
    for (int queued = 0; ::ioctl(line_, TIOCOUTQ, &queued) == 0 && queued > 0;) {
        if (lineTime_.deadline().expired())
            return failTimeout();
        ::poll(nullptr, 0, 10);
    }
    if (::tcdrain(line_) != 0 && errno != ENOTTY)
        return failSystem("drain", errno);
    return true;
}

std::int64_t SerialPrinterPort::read(char* buffer, std::int64_t capacity, const Deadline& until)
{
    lineTime_.answerAwaited();
    const std::int64_t n = readWithin(line_, buffer, capacity, until);
    if (n < 0)
        failSystem("read from", errno);
    return n;
}

bool SerialPrinterPort::close()
{
    if (line_ < 0)
        return true;
    const bool drained = drain();
    release();
    return drained;
}

// Gives the line back as it was found; the lock goes with the descriptor.
void SerialPrinterPort::release()
{
    if (line_ < 0)
        return;
    ::tcsetattr(line_, TCSANOW, &before_);
    ::ioctl(line_, TIOCNXCL);
    ::close(std::exchange(line_, -1));
}
