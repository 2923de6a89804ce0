#include "CommPrinterPort.h"

#include "DeviceNames.h"
#include "OpenFailureReason.h"
#include "WindowsText.h"

#include <algorithm>
#include <utility>

namespace
{

// A read returns what has come in at once, or waits up to the bound for the first byte.
COMMTIMEOUTS readTimeouts(int boundMs)
{
    if (boundMs <= 0)
        return {MAXDWORD, 0, 0, 0, 0};
    return {MAXDWORD, MAXDWORD, DWORD(boundMs), 0, 0};
}

// A write ends when the bound has passed, whatever is left.
COMMTIMEOUTS writeTimeouts(int boundMs)
{
    return {MAXDWORD, 0, 0, 0, DWORD(std::max(boundMs, 1))};
}

} // namespace

CommPrinterPort::~CommPrinterPort()
{
    release();
}

bool CommPrinterPort::open(const PortOpenRequest& request)
{
    const PortNames::DevicePort device = DeviceNames::serialLine(request.name);
    if (!device.refusal.empty())
        return fail(device.refusal);
    name_ = device.number > 0 ? "COM" + std::to_string(device.number) : device.path;
    if (request.baudRate <= 0)
        return fail(name_ + ": the baud rate " + std::to_string(request.baudRate) +
                    " is not one a line can run at");
    baudRate_ = request.baudRate;
    lineTime_ = LineTime(request.baudRate);
    line_ = CreateFileW(WindowsText::wide(device.path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (line_ == INVALID_HANDLE_VALUE)
        return fail(OpenFailureReason::forDevice(OpenFailureReason::DeviceKind::SerialPort, name_,
                                                 device.path, GetLastError()));
    before_.DCBlength = sizeof before_;
    if (!GetCommState(line_, &before_) || !GetCommTimeouts(line_, &timeoutsBefore_)) {
        CloseHandle(std::exchange(line_, INVALID_HANDLE_VALUE));
        return fail(name_ + " is not a serial port");
    }
    if (!configure()) {
        release();
        return false;
    }
    return true;
}

bool CommPrinterPort::configure()
{
    DCB settings = before_;
    settings.BaudRate = DWORD(baudRate_);
    // The printer's line: 8N1, never flow control, every byte value passed as it is.
    settings.ByteSize = 8;
    settings.Parity = NOPARITY;
    settings.StopBits = ONESTOPBIT;
    settings.fBinary = TRUE;
    settings.fParity = FALSE;
    settings.fOutxCtsFlow = FALSE;
    settings.fOutxDsrFlow = FALSE;
    settings.fDtrControl = DTR_CONTROL_ENABLE;
    settings.fDsrSensitivity = FALSE;
    settings.fOutX = FALSE;
    settings.fInX = FALSE;
    settings.fErrorChar = FALSE;
    settings.fNull = FALSE;
    settings.fRtsControl = RTS_CONTROL_ENABLE;
    settings.fAbortOnError = FALSE;
    if (SetCommState(line_, &settings))
        return true;
    if (GetLastError() == ERROR_INVALID_PARAMETER)
        return fail(name_ + ": the baud rate " + std::to_string(baudRate_) +
                    " is not one this serial port runs at; use a standard rate such as 9600, "
                    "19200, 38400 or 115200");
    return failSystem("set up", GetLastError());
}

bool CommPrinterPort::setTimeouts(const COMMTIMEOUTS& timeouts)
{
    COMMTIMEOUTS settings = timeouts;
    return SetCommTimeouts(line_, &settings) || failSystem("set the timeouts of", GetLastError());
}

bool CommPrinterPort::failSystem(const std::string& action, unsigned long error)
{
    return fail(action + " " + name_ + ": " + WindowsText::systemMessage(error));
}

bool CommPrinterPort::failTimeout()
{
    // Bytes still queued would hold up the close for as long as the driver waits for them.
    PurgeComm(line_, PURGE_TXABORT | PURGE_TXCLEAR);
    return fail(lineTime_.overrun(name_));
}

bool CommPrinterPort::write(const char* data, std::int64_t count)
{
    lineTime_.startWrite(count);
    std::int64_t done = 0;
    while (done < count) {
        if (lineTime_.deadline().expired())
            return failTimeout();
        if (!setTimeouts(writeTimeouts(lineTime_.deadline().remainingMs())))
            return false;
        DWORD n = 0;
        const DWORD chunk = DWORD(std::min<std::int64_t>(count - done, 1 << 20));
        if (!WriteFile(line_, data + done, chunk, &n, nullptr))
            return failSystem("write to", GetLastError());
        done += n;
        lineTime_.wrote(n);
    }
    return true;
}

// The bytes must have left the host before the port is let go. FlushFileBuffers takes no
// bound, so the output queue is watched until it is empty first.
bool CommPrinterPort::drain()
{
    for (;;) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(line_, &errors, &status))
            return failSystem("drain", GetLastError());
        if (status.cbOutQue == 0)
            break;
        if (lineTime_.deadline().expired())
            return failTimeout();
        Sleep(10);
    }
    return FlushFileBuffers(line_) || failSystem("drain", GetLastError());
}

std::int64_t CommPrinterPort::read(char* buffer, std::int64_t capacity, const Deadline& until)
{
    lineTime_.answerAwaited();
    if (!setTimeouts(readTimeouts(until.remainingMs())))
        return -1;
    DWORD n = 0;
    const DWORD wanted = DWORD(std::min<std::int64_t>(capacity, 1 << 20));
    if (!ReadFile(line_, buffer, wanted, &n, nullptr)) {
        failSystem("read from", GetLastError());
        return -1;
    }
    return n;
}

bool CommPrinterPort::close()
{
    if (line_ == INVALID_HANDLE_VALUE)
        return true;
    const bool drained = drain();
    release();
    return drained;
}

// Gives the port back as it was found.
void CommPrinterPort::release()
{
    if (line_ == INVALID_HANDLE_VALUE)
        return;
    SetCommState(line_, &before_);
    SetCommTimeouts(line_, &timeoutsBefore_);
    CloseHandle(std::exchange(line_, INVALID_HANDLE_VALUE));
}
