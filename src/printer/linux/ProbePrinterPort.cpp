#include "DescriptorWait.h"
#include "PortNames.h"
#include "ProbePort.h"
#include "SendBounds.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace
{

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
        descriptor_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (descriptor_ < 0)
            return failSystem("connect to", errno);
        if (::connect(descriptor_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
            return true;
        int error = errno;
        if (error == EINPROGRESS) {
            error = ETIMEDOUT;
            if (waitFor(descriptor_, POLLOUT, connectBoundMs_) != 0) {
                socklen_t length = sizeof error;
                if (::getsockopt(descriptor_, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                    error = errno;
            }
        }
        // A reset this early still followed a completed handshake: the host took the
        // connection, and the first request tells the reset.
        if (error == 0 || error == ECONNRESET)
            return true;
        close();
        if (error == ETIMEDOUT)
            return fail(SendBounds::noAnswer("connect to " + display_, connectBoundMs_));
        return failSystem("connect to", error);
    }

    bool write(const char* data, std::int64_t count) override
    {
        const Deadline deadline(SendBounds::NetworkWriteMs);
        while (count > 0) {
            if (descriptor_ < 0 || waitFor(descriptor_, POLLOUT, deadline.remainingMs()) == 0)
                return fail("write to " + display_ + ": no room within the bound");
            const ssize_t n = ::send(descriptor_, data, std::size_t(count), MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return failSystem("write to", errno);
            data += std::max<ssize_t>(n, 0);
            count -= std::max<ssize_t>(n, 0);
        }
        return true;
    }

    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until) override
    {
        if (descriptor_ < 0 || waitFor(descriptor_, POLLIN, until.remainingMs()) == 0)
            return 0;
        const ssize_t n = ::recv(descriptor_, buffer, std::size_t(capacity), 0);
        if (n > 0 || (n < 0 && (errno == EAGAIN || errno == EINTR)))
            return std::max<ssize_t>(n, 0);
        if (n == 0)
            fail(SendBounds::printerClosed(display_));
        else
            failSystem("read from", errno);
        return -1;
    }

    bool close() override
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = -1;
        return true;
    }

private:
    bool failSystem(const std::string& action, int error)
    {
        return fail(action + " " + display_ + ": " + std::generic_category().message(error));
    }

    int connectBoundMs_;
    int descriptor_ = -1;
    std::string display_;
};

} // namespace

std::unique_ptr<PrinterPort> makeProbePort(int connectBoundMs)
{
    return std::make_unique<ProbePrinterPort>(connectBoundMs);
}
