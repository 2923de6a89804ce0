#include "DevicePrinterPort.h"

#include "DeviceNames.h"
#include "OpenFailureReason.h"
#include "SendBounds.h"
#include "WindowsText.h"

#include <algorithm>
#include <utility>

namespace
{

// An event for one overlapped call, closed with it.
class CallEvent
{
public:
    CallEvent() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CallEvent() { CloseHandle(event_); }
    CallEvent(const CallEvent&) = delete;
    CallEvent& operator=(const CallEvent&) = delete;
    HANDLE get() const { return event_; }

private:
    HANDLE event_;
};

// A file standing in for the port takes each document after the last, as a printer would;
// devices ignore the offset.
OVERLAPPED atEndOfFile(HANDLE event)
{
    OVERLAPPED call{};
    call.Offset = 0xFFFFFFFF;
    call.OffsetHigh = 0xFFFFFFFF;
    call.hEvent = event;
    return call;
}

} // namespace

DevicePrinterPort::~DevicePrinterPort()
{
    if (device_ != INVALID_HANDLE_VALUE)
        CloseHandle(device_);
}

HANDLE DevicePrinterPort::openDevice(unsigned long access) const
{
    return CreateFileW(WindowsText::wide(path_).c_str(), access, 0, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OVERLAPPED, nullptr);
}

bool DevicePrinterPort::failSystem(const std::string& action, unsigned long error)
{
    return fail(action + " " + name_ + ": " + WindowsText::systemMessage(error));
}

bool DevicePrinterPort::open(const PortOpenRequest& request)
{
    const PortNames::DevicePort device = DeviceNames::printerDevice(request.name);
    if (!device.refusal.empty())
        return fail(device.refusal);
    path_ = device.path;
    name_ = device.number > 0 ? "LPT" + std::to_string(device.number) : device.path;

    // Opened for the printer's answers too where the device allows that. Only a device keeps
    // that: a pipe opened for reading would never miss its reader.
    HANDLE opened = openDevice(GENERIC_READ | GENERIC_WRITE);
    if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        opened = openDevice(GENERIC_WRITE);
    const DWORD type = opened == INVALID_HANDLE_VALUE ? FILE_TYPE_UNKNOWN : GetFileType(opened);
    if (type == FILE_TYPE_DISK && device.number == 0) {
        CloseHandle(opened);
        return fail(name_ + ": not a printer device; refusing to write to it");
    }
    readable_ = type == FILE_TYPE_CHAR;
    if (opened != INVALID_HANDLE_VALUE && !readable_) {
        CloseHandle(opened);
        opened = openDevice(GENERIC_WRITE);
    }
    if (opened == INVALID_HANDLE_VALUE)
        return fail(OpenFailureReason::forDevice(OpenFailureReason::DeviceKind::PrinterPort, name_,
                                                 path_, GetLastError()));
    device_ = opened;
    return true;
}

bool DevicePrinterPort::failTimeout(std::int64_t count)
{
    return fail(SendBounds::deviceDidNotTake(name_, count));
}

std::int64_t DevicePrinterPort::finish(OVERLAPPED& pending, const Deadline& deadline,
                                       unsigned long& error)
{
    DWORD moved = 0;
    if (WaitForSingleObject(pending.hEvent, DWORD(deadline.remainingMs())) == WAIT_TIMEOUT) {
        // What the device took before the cancel still counts.
        CancelIoEx(device_, &pending);
        GetOverlappedResult(device_, &pending, &moved, TRUE);
        error = WAIT_TIMEOUT;
        return moved;
    }
    if (GetOverlappedResult(device_, &pending, &moved, FALSE))
        return moved;
    error = GetLastError();
    return -1;
}

bool DevicePrinterPort::write(const char* data, std::int64_t count)
{
    const Deadline deadline(SendBounds::deviceMs(count));
    std::int64_t written = 0;
    while (written < count) {
        CallEvent event;
        OVERLAPPED call = atEndOfFile(event.get());
        const DWORD chunk = DWORD(std::min<std::int64_t>(count - written, 1 << 20));
        unsigned long error = 0;
        std::int64_t n = -1;
        if (WriteFile(device_, data + written, chunk, nullptr, &call) ||
            GetLastError() == ERROR_IO_PENDING)
            n = finish(call, deadline, error);
        else
            error = GetLastError();
        written += std::max<std::int64_t>(n, 0);
        if (error == WAIT_TIMEOUT)
            return failTimeout(count);
        if (error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA ||
            error == ERROR_PIPE_NOT_CONNECTED)
            return fail("write to " + name_ + ": nothing reads the device any more (" +
                        std::to_string(written) + " of " + std::to_string(count) + " bytes taken)");
        if (n < 0)
            return failSystem("write to", error);
        // Some printer drivers take nothing at first without saying why.
        if (n == 0)
            Sleep(SendBounds::DeviceRetryMs);
    }
    return true;
}

std::int64_t DevicePrinterPort::read(char* buffer, std::int64_t capacity, const Deadline& until)
{
    if (!readable_)
        return PrinterPort::read(buffer, capacity, until);
    CallEvent event;
    OVERLAPPED call{};
    call.hEvent = event.get();
    const DWORD wanted = DWORD(std::min<std::int64_t>(capacity, 1 << 20));
    unsigned long error = 0;
    std::int64_t n = -1;
    if (ReadFile(device_, buffer, wanted, nullptr, &call) || GetLastError() == ERROR_IO_PENDING)
        n = finish(call, until, error);
    else
        error = GetLastError();
    if (n < 0)
        failSystem("read from", error);
    return n;
}

bool DevicePrinterPort::close()
{
    if (device_ == INVALID_HANDLE_VALUE)
        return true;
    const bool closed = CloseHandle(std::exchange(device_, INVALID_HANDLE_VALUE));
    return closed || failSystem("close", GetLastError());
}
