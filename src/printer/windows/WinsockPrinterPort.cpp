#include "WinsockPrinterPort.h"

#include "WindowsText.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

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

// GetAddrInfoW takes no bound, so a name lookup runs on a thread of its own, which is left
// to finish by itself when the bound passes first.
LookupResult lookUpName(const std::wstring& host, const std::wstring& port, const ADDRINFOW& hints,
                        const Deadline& deadline)
{
    struct Lookup {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        LookupResult result;
    };
    const auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, port, hints] {
        ADDRINFOW* found = nullptr;
        const int error = ::GetAddrInfoW(host.c_str(), port.c_str(), &hints, &found);
        const std::lock_guard lock(lookup->mutex);
        lookup->result = {error, AddressList(found, &::FreeAddrInfoW)};
        lookup->done = true;
        lookup->finished.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    if (!lookup->finished.wait_for(lock, std::chrono::milliseconds(deadline.remainingMs()),
                                   [&] { return lookup->done; }))
        return {};
    return std::move(lookup->result);
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

std::string boundText(int boundMs)
{
    return std::to_string(boundMs / 1000) + " s";
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
    return fail(address_.display() + ": the printer reset the connection after " +
                std::to_string(sent_) + " of " + std::to_string(requested_) + " bytes");
}

bool WinsockPrinterPort::open(const PortOpenRequest& request)
{
    address_ = PortNames::readNetworkAddress(request.name);
    if (!address_.refusal.empty())
        return fail(address_.refusal);
    if (const int error = winsockStartError())
        return fail("start Windows Sockets: " + WindowsText::systemMessage(error));
    const Deadline deadline(ConnectBoundMs);
    const LookupResult found = lookUp(address_.host, address_.port, deadline);
    if (found.error != 0)
        return fail("look up " + address_.host + ": " + WindowsText::systemMessage(found.error));
    if (!found.addresses)
        return fail("look up " + address_.host + ": no answer within " + boundText(ConnectBoundMs));
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
        return fail("connect to " + address_.display() + ": no answer within " +
                    boundText(ConnectBoundMs));
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
    answers_.append(answer, std::size_t(std::max(n, 0)));
    if (answers_.size() > KeptAnswerBytes)
        answers_.erase(0, answers_.size() - KeptAnswerBytes);
    const int error = n < 0 ? WSAGetLastError() : 0;
    if (n >= 0 || error == WSAEWOULDBLOCK || error == WSAEINTR)
        return true;
    return failSystem("read from", error);
}

bool WinsockPrinterPort::write(const char* data, std::int64_t count)
{
    if (socket_ == INVALID_SOCKET || failed_)
        return fail("write to " + address_.display() + ": the connection has failed before");
    requested_ += count;
    const Deadline deadline(WriteBoundMs);
    std::int64_t written = 0;
    while (written < count) {
        const Ready ready = waitFor(socket_, !printerEnded_, true, deadline.remainingMs());
        if (!ready.any()) {
            failed_ = true;
            return fail("write to " + address_.display() + ": only " + std::to_string(sent_) +
                        " of " + std::to_string(requested_) + " bytes went out within " +
                        boundText(WriteBoundMs));
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
        fail("read from " + address_.display() + ": the connection has failed before");
        return -1;
    }
    while (answers_.empty() && !printerEnded_) {
        if (!waitFor(socket_, true, false, until.remainingMs()).any())
            return 0;
        if (!takeAnswer())
            return -1;
    }
    if (answers_.empty()) {
        fail("read from " + address_.display() + ": the printer closed the connection");
        return -1;
    }
    const std::size_t taken = std::min(std::size_t(capacity), answers_.size());
    answers_.copy(buffer, taken);
    answers_.erase(0, taken);
    return std::int64_t(taken);
}

// Half-close, then wait for the printer's end of the stream: it has then read everything.
bool WinsockPrinterPort::confirmDelivery()
{
    if (const int error = pendingError(socket_))
        return failSystem("close connection to", error);
    if (::shutdown(socket_, SD_SEND) != 0)
        return failSystem("close connection to", WSAGetLastError());
    const Deadline deadline(ConfirmBoundMs);
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
