#include "PortNames.h"
#include "ProbePort.h"
#include "SendBounds.h"
#include "WindowsText.h"

#include <winsock2.h>

#include <ws2tcpip.h>

#include <algorithm>

namespace
{

// Started once for the whole program and left running until it ends.
int winsockStartError()
{
    static const int error = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data);
    }();
    return error;
}

// Whether the socket became ready (or failed) within the bound.
bool waitFor(SOCKET socket, bool write, std::int64_t boundMs)
{
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket, &ready);
    FD_SET(socket, &failed);
    const std::int64_t ms = std::clamp<std::int64_t>(boundMs, 0, 24 * 3600 * 1000);
    timeval bound{long(ms / 1000), long(ms % 1000 * 1000)};
    return ::select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &bound) > 0;
}

class ProbePrinterPort : public PrinterPort
{
public:
    explicit ProbePrinterPort(int connectBoundMs) : connectBoundMs_(connectBoundMs) {}
    ~ProbePrinterPort() override { close(); }

    bool open(const PortOpenRequest& request) override
    {
        const PortNames::NetworkAddress address = PortNames::readNetworkAddress(request.name);
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(address.port);
        if (!address.refusal.empty() ||
            ::inet_pton(AF_INET, address.host.c_str(), &peer.sin_addr) != 1)
            return fail("\"" + request.name + "\" is not an IPv4 address and port");
        display_ = address.display();
        if (const int error = winsockStartError())
            return fail("start Windows Sockets: " + WindowsText::systemMessage(error));
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        if (socket_ == INVALID_SOCKET || ::ioctlsocket(socket_, FIONBIO, &nonBlocking) != 0)
            return failSystem("connect to", WSAGetLastError());
        if (::connect(socket_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
            return true;
        int error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            error = WSAETIMEDOUT;
            if (waitFor(socket_, true, connectBoundMs_)) {
                int length = sizeof error;
                if (::getsockopt(socket_, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                                 &length) != 0)
                    error = WSAGetLastError();
            }
        }
        // A reset this early still followed a completed handshake: the host took the
        // connection, and the first request tells the reset.
        if (error == 0 || error == WSAECONNRESET)
            return true;
        close();
        if (error == WSAETIMEDOUT)
            return fail(SendBounds::noAnswer("connect to " + display_, connectBoundMs_));
        return failSystem("connect to", error);
    }

    bool write(const char* data, std::int64_t count) override
    {
        const Deadline deadline(SendBounds::NetworkWriteMs);
        while (count > 0) {
            if (socket_ == INVALID_SOCKET || !waitFor(socket_, true, deadline.remainingMs()))
                return fail("write to " + display_ + ": no room within the bound");
            const int n = ::send(socket_, data, int(std::min<std::int64_t>(count, 1 << 20)), 0);
            if (n < 0 && WSAGetLastError() != WSAEWOULDBLOCK)
                return failSystem("write to", WSAGetLastError());
            data += std::max(n, 0);
            count -= std::max(n, 0);
        }
        return true;
    }

    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until) override
    {
        if (socket_ == INVALID_SOCKET || !waitFor(socket_, false, until.remainingMs()))
            return 0;
        const int n = ::recv(socket_, buffer, int(std::min<std::int64_t>(capacity, 1 << 20)), 0);
        if (n > 0 || (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK))
            return std::max(n, 0);
        if (n == 0)
            fail(SendBounds::printerClosed(display_));
        else
            failSystem("read from", WSAGetLastError());
        return -1;
    }

    bool close() override
    {
        if (socket_ != INVALID_SOCKET)
            ::closesocket(socket_);
        socket_ = INVALID_SOCKET;
        return true;
    }

private:
    bool failSystem(const std::string& action, int error)
    {
        return fail(action + " " + display_ + ": " + WindowsText::systemMessage(error));
    }

    int connectBoundMs_;
    SOCKET socket_ = INVALID_SOCKET;
    std::string display_;
};

} // namespace

std::unique_ptr<PrinterPort> makeProbePort(int connectBoundMs)
{
    return std::make_unique<ProbePrinterPort>(connectBoundMs);
}
