#include "WinsockPrinterPort.h"

#include "CallWithin.h"
#include "SendBounds.h"
#include "WindowsText.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace
{

using AddressList = std::unique_ptr<ADDRINFOW, decltype(&::FreeAddrInfoW)>;

struct LookupResult {
    int error = 0; // a lookup error; 0 with no addresses: the bound passed first
    AddressList addresses{nullptr, &::FreeAddrInfoW};
};

// Winsock is started once for the whole program and left running until it ends.
int winsockStartError()
{
    static const int error = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data);
    }();
    return error;
}

LookupResult lookUpName(const std::wstring& host, const std::wstring& port, const ADDRINFOW& hints,
                        const Deadline& deadline)
{
    std::optional<LookupResult> found = CallWithin(deadline, [host, port, hints] {
        ADDRINFOW* addresses = nullptr;
        const int error = ::GetAddrInfoW(host.c_str(), port.c_str(), &hints, &addresses);
        return LookupResult{error, AddressList(addresses, &::FreeAddrInfoW)};
    });
    return found ? std::move(*found) : LookupResult{};
}

LookupResult lookUp(const std::string& host, std::uint16_t port, const Deadline& deadline)
{
    const std::wstring wideHost = WindowsText::wide(host);
    const std::wstring portText = std::to_wstring(port);
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    ADDRINFOW* found = nullptr;
    const int error = ::GetAddrInfoW(wideHost.c_str(), portText.c_str(), &hints, &found);
    if (error != WSAHOST_NOT_FOUND)
        return {error, AddressList(found, &::FreeAddrInfoW)};
    hints.ai_flags = AI_NUMERICSERV;
    return lookUpName(wideHost, portText, hints, deadline);
}

struct Ready {
    bool readable = false, writable = false, failed = false;
    bool any() const { return readable || writable || failed; }
};

// What the socket became within the bound; nothing when the bound passed.
Ready waitFor(SOCKET socket, bool read, bool write, std::int64_t boundMs)
{
    fd_set readable, writable, failed;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    if (read)
        FD_SET(socket, &readable);
    if (write)
        FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    const std::int64_t ms = std::clamp<std::int64_t>(boundMs, 0, 24 * 3600 * 1000);
    timeval bound{long(ms / 1000), long(ms % 1000 * 1000)};
    if (::select(0, &readable, &writable, &failed, &bound) <= 0)
        return {};
    return {FD_ISSET(socket, &readable) != 0, FD_ISSET(socket, &writable) != 0,
            FD_ISSET(socket, &failed) != 0};
}

int pendingError(SOCKET socket)
{
    int error = 0;
    int length = sizeof error;
    return ::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) == 0
               ? error
               : WSAGetLastError();
}

bool isReset(int error)
{
    return error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAENOTCONN;
}

} // namespace

WinsockPrinterPort::~WinsockPrinterPort()
{
    abort();
}

bool WinsockPrinterPort::failSystem(const std::string& action, int error)
{
    failed_ = true;
    if (isReset(error))
        return failReset();
    return fail(action + " " + address_.display() + ": " + WindowsText::systemMessage(error));
}

bool WinsockPrinterPort::failReset()
{
    failed_ = true;
    return fail(SendBounds::resetAfter(address_.display(), sent_, requested_));
}

bool WinsockPrinterPort::open(const PortOpenRequest& request)
{
    address_ = PortNames::readNetworkAddress(request.name);
    if (!address_.refusal.empty())
        return fail(address_.refusal);
    if (const int error = winsockStartError())
        return fail("start Windows Sockets: " + WindowsText::systemMessage(error));
    const Deadline deadline(SendBounds::NetworkConnectMs);
    const LookupResult found = lookUp(address_.host, address_.port, deadline);
    if (found.error != 0)
        return fail("look up " + address_.host + ": " + WindowsText::systemMessage(found.error));
    if (!found.addresses)
        return fail(SendBounds::noAnswer("look up " + address_.host, SendBounds::NetworkConnectMs));
    return connectWithin(found.addresses.get(), deadline);
}

// Each address gets an equal share of what is left of the bound.
bool WinsockPrinterPort::connectWithin(const ADDRINFOW* addresses, const Deadline& deadline)
{
    int left = 0;
    for (const ADDRINFOW* a = addresses; a; a = a->ai_next)
        ++left;
    int error = WSAETIMEDOUT;
    for (const ADDRINFOW* a = addresses; a; a = a->ai_next, --left) {
        const SOCKET socket = ::WSASocketW(a->ai_family, a->ai_socktype, a->ai_protocol, nullptr, 0,
                                           WSA_FLAG_NO_HANDLE_INHERIT);
        if (socket == INVALID_SOCKET) {
            error = WSAGetLastError();
            continue;
        }
        u_long nonBlocking = 1;
        ::ioctlsocket(socket, FIONBIO, &nonBlocking);
        if (::connect(socket, a->ai_addr, int(a->ai_addrlen)) == 0) {
            socket_ = socket;
            return true;
        }
        error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            const Ready ready = waitFor(socket, false, true, deadline.remainingMs() / left);
            error = ready.any() ? pendingError(socket) : WSAETIMEDOUT;
            if (error == 0 && ready.writable) {
                socket_ = socket;
                return true;
            }
            if (error == 0)
                error = WSAECONNREFUSED;
        }
        ::closesocket(socket);
    }
    if (error == WSAETIMEDOUT)
        return fail(
            SendBounds::noAnswer("connect to " + address_.display(), SendBounds::NetworkConnectMs));
    return fail("connect to " + address_.display() + ": " + WindowsText::systemMessage(error));
}

// Whatever the printer sends back is taken at once, since unread bytes would turn the close
// into a reset that can discard the document; the newest are kept for read().
bool WinsockPrinterPort::takeAnswer()
{
    char answer[4096];
    const int n = ::recv(socket_, answer, sizeof answer, 0);
    if (n == 0)
        printerEnded_ = true;
    answers_.keep(answer, std::size_t(std::max(n, 0)));
    const int error = n < 0 ? WSAGetLastError() : 0;
    if (n >= 0 || error == WSAEWOULDBLOCK || error == WSAEINTR)
        return true;
    return failSystem("read from", error);
}

bool WinsockPrinterPort::write(const char* data, std::int64_t count)
{
    if (socket_ == INVALID_SOCKET || failed_)
        return fail(SendBounds::failedBefore("write to", address_.display()));
    requested_ += count;
    const Deadline deadline(SendBounds::NetworkWriteMs);
    std::int64_t written = 0;
    while (written < count) {
        const Ready ready = waitFor(socket_, !printerEnded_, true, deadline.remainingMs());
        if (!ready.any()) {
            failed_ = true;
            return fail(SendBounds::notAllWentOut(address_.display(), sent_, requested_));
        }
        if (ready.readable && !takeAnswer())
            return false;
        if (!ready.writable && !ready.failed)
            continue;
        const int chunk = int(std::min<std::int64_t>(count - written, 1 << 20));
        const int n = ::send(socket_, data + written, chunk, 0);
        const int error = n < 0 ? WSAGetLastError() : 0;
        if (n < 0 && error != WSAEWOULDBLOCK && error != WSAEINTR)
            return failSystem("write to", error);
        written += std::max(n, 0);
        sent_ += std::max(n, 0);
    }
    return true;
}

std::int64_t WinsockPrinterPort::read(char* buffer, std::int64_t capacity, const Deadline& until)
{
    if (socket_ == INVALID_SOCKET || failed_) {
        fail(SendBounds::failedBefore("read from", address_.display()));
        return -1;
    }
    while (answers_.empty() && !printerEnded_) {
        if (!waitFor(socket_, true, false, until.remainingMs()).any())
            return 0;
        if (!takeAnswer())
            return -1;
    }
    if (answers_.empty()) {
        fail(SendBounds::printerClosed(address_.display()));
        return -1;
    }
    return std::int64_t(answers_.take(buffer, std::size_t(capacity)));
}

// Half-close, then wait for the printer's end of the stream: it has then read everything.
bool WinsockPrinterPort::confirmDelivery()
{
    if (const int error = pendingError(socket_))
        return failSystem("close connection to", error);
    if (::shutdown(socket_, SD_SEND) != 0)
        return failSystem("close connection to", WSAGetLastError());
    const Deadline deadline(SendBounds::NetworkConfirmMs);
    while (!printerEnded_) {
        if (!waitFor(socket_, true, false, deadline.remainingMs()).any())
            return true; // a printer that never closes
        if (!takeAnswer())
            return false;
    }
    return true;
}

bool WinsockPrinterPort::close()
{
    if (socket_ == INVALID_SOCKET)
        return true;
    const bool failedBefore = failed_;
    if (!failedBefore && confirmDelivery()) {
        ::closesocket(socket_);
        socket_ = INVALID_SOCKET;
        return true;
    }
    abort();
    return failedBefore; // that failure has been told already; the close itself went well
}

// Drops the connection at once, with a reset, so that no half document is printed later.
void WinsockPrinterPort::abort()
{
    if (socket_ == INVALID_SOCKET)
        return;
    const linger resetOnClose{1, 0};
    ::setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&resetOnClose),
                 sizeof resetOnClose);
    ::closesocket(socket_);
    socket_ = INVALID_SOCKET;
}
