#include "TcpPrinterPort.h"

#include "CallWithin.h"
#include "DescriptorWait.h"
#include "SendBounds.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <netdb.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace
{

using AddressList = std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)>;

struct LookupResult {
    int error = 0; // a getaddrinfo error; 0 with no addresses: the bound passed first
    AddressList addresses{nullptr, &::freeaddrinfo};
};

LookupResult lookUpName(const std::string& host, const std::string& port, const addrinfo& hints,
                        const Deadline& deadline)
{
    std::optional<LookupResult> found = CallWithin(deadline, [host, port, hints] {
        addrinfo* addresses = nullptr;
        const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &addresses);
        return LookupResult{error, AddressList(addresses, &::freeaddrinfo)};
    });
    return found ? std::move(*found) : LookupResult{};
}

LookupResult lookUp(const std::string& host, std::uint16_t port, const Deadline& deadline)
{
    const std::string portText = std::to_string(port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int error = ::getaddrinfo(host.c_str(), portText.c_str(), &hints, &found);
    if (error != EAI_NONAME)
        return {error, AddressList(found, &::freeaddrinfo)};
    hints.ai_flags = AI_NUMERICSERV;
    return lookUpName(host, portText, hints, deadline);
}

int pendingError(int descriptor)
{
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) == 0 ? error : errno;
}

bool isReset(int error)
{
    return error == ECONNRESET || error == EPIPE || error == ENOTCONN;
}

std::string systemAnswer(int error)
{
    return std::generic_category().message(error);
}

} // namespace

TcpPrinterPort::~TcpPrinterPort()
{
    abort();
}

bool TcpPrinterPort::failSystem(const std::string& action, int error)
{
    failed_ = true;
    if (isReset(error))
        return failReset();
    return fail(action + " " + address_.display() + ": " + systemAnswer(error));
}

bool TcpPrinterPort::failReset()
{
    failed_ = true;
    return fail(SendBounds::resetAfter(address_.display(), sent_, requested_));
}

bool TcpPrinterPort::open(const PortOpenRequest& request)
{
    address_ = PortNames::readNetworkAddress(request.name);
    if (!address_.refusal.empty())
        return fail(address_.refusal);
    const Deadline deadline(SendBounds::NetworkConnectMs);
    const LookupResult found = lookUp(address_.host, address_.port, deadline);
    if (found.error != 0)
        return fail("look up " + address_.host + ": " + gai_strerror(found.error));
    if (!found.addresses)
        return fail(SendBounds::noAnswer("look up " + address_.host, SendBounds::NetworkConnectMs));
    return connectWithin(found.addresses.get(), deadline);
}

// Each address gets an equal share of what is left of the bound.
bool TcpPrinterPort::connectWithin(const addrinfo* addresses, const Deadline& deadline)
{
    int left = 0;
    for (const addrinfo* a = addresses; a; a = a->ai_next)
        ++left;
    int error = ETIMEDOUT;
    for (const addrinfo* a = addresses; a; a = a->ai_next, --left) {
        const int descriptor =
            ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (descriptor < 0) {
            error = errno;
            continue;
        }
        if (::connect(descriptor, a->ai_addr, a->ai_addrlen) == 0) {
            descriptor_ = descriptor;
            return true;
        }
        error = errno;
        if (error == EINPROGRESS) {
            const bool answered = waitFor(descriptor, POLLOUT, deadline.remainingMs() / left) != 0;
            error = answered ? pendingError(descriptor) : ETIMEDOUT;
            if (error == 0) {
                descriptor_ = descriptor;
                return true;
            }
        }
        ::close(descriptor);
    }
    if (error == ETIMEDOUT)
        return fail(
            SendBounds::noAnswer("connect to " + address_.display(), SendBounds::NetworkConnectMs));
    return fail("connect to " + address_.display() + ": " + systemAnswer(error));
}

// Whatever the printer sends back is taken at once, since unread bytes would turn the close
// into a reset that can discard the document; the newest are kept for read().
bool TcpPrinterPort::takeAnswer()
{
    char answer[4096];
    const ssize_t n = ::recv(descriptor_, answer, sizeof answer, 0);
    if (n == 0)
        printerEnded_ = true;
    answers_.keep(answer, std::size_t(std::max<ssize_t>(n, 0)));
    if (n >= 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return true;
    return failSystem("read from", errno);
}

bool TcpPrinterPort::write(const char* data, std::int64_t count)
{
    if (descriptor_ < 0 || failed_)
        return fail(SendBounds::failedBefore("write to", address_.display()));
    requested_ += count;
    const Deadline deadline(SendBounds::NetworkWriteMs);
    std::int64_t written = 0;
    while (written < count) {
        const short ready =
            waitFor(descriptor_, POLLOUT | (printerEnded_ ? 0 : POLLIN), deadline.remainingMs());
        if (ready == 0) {
            failed_ = true;
            return fail(SendBounds::notAllWentOut(address_.display(), sent_, requested_));
        }
        if ((ready & POLLIN) && !takeAnswer())
            return false;
        if (!(ready & (POLLOUT | POLLERR | POLLHUP)))
            continue;
        const ssize_t n =
            ::send(descriptor_, data + written, size_t(count - written), MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return failSystem("write to", errno);
        written += std::max<ssize_t>(n, 0);
        sent_ += std::max<ssize_t>(n, 0);
    }
    return true;
}

std::int64_t TcpPrinterPort::read(char* buffer, std::int64_t capacity, const Deadline& until)
{
    if (descriptor_ < 0 || failed_) {
        fail(SendBounds::failedBefore("read from", address_.display()));
        return -1;
    }
    while (answers_.empty() && !printerEnded_) {
        if (waitFor(descriptor_, POLLIN, until.remainingMs()) == 0)
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
bool TcpPrinterPort::confirmDelivery()
{
    if (const int error = pendingError(descriptor_))
        return failSystem("close connection to", error);
    if (::shutdown(descriptor_, SHUT_WR) != 0)
        return failSystem("close connection to", errno);
    const Deadline deadline(SendBounds::NetworkConfirmMs);
    while (!printerEnded_) {
        if (waitFor(descriptor_, POLLIN, deadline.remainingMs()) == 0)
            return true; // a printer that never closes
        if (!takeAnswer())
            return false;
    }
    return true;
}

bool TcpPrinterPort::close()
{
    if (descriptor_ < 0)
        return true;
    const bool failedBefore = failed_;
    if (!failedBefore && confirmDelivery()) {
        ::close(descriptor_);
        descriptor_ = -1;
        return true;
    }
    abort();
    return failedBefore; // that failure has been told already; the close itself went well
}

// Drops the connection at once, with a reset, so that no half document is printed later.
void TcpPrinterPort::abort()
{
    if (descriptor_ < 0)
        return;
    const linger resetOnClose{1, 0};
    ::setsockopt(descriptor_, SOL_SOCKET, SO_LINGER, &resetOnClose, sizeof resetOnClose);
    ::close(descriptor_);
    descriptor_ = -1;
}
