#pragma once

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// A printer on loopback, served on a thread of its own so that a send that waits for the
// printer can end: one connection at a time, each answered as its behaviour says.
class LoopbackPrinter
{
public:
    enum Behaviour {
        Reads,           // reads to the end, then closes
        ResetsAtAccept,  // resets the connection as soon as it takes it
        ReadsPart,       // reads a little, then closes with the rest unread
        HalfClosesFirst, // ends its side at once, then reads to the end
        NeverAccepts     // switched on but answering nothing: its backlog is full
    };

    // What the printer sends back for the bytes it has just read.
    using Answers = std::function<std::string(std::string_view received)>;

    explicit LoopbackPrinter(Behaviour behaviour = Reads, int family = AF_INET,
                             std::uint16_t port = 0, Answers answers = {})
        : behaviour_(behaviour), listener_(::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0)),
          answers_(std::move(answers))
    {
        sockaddr_in6 address{};
        auto& v4 = reinterpret_cast<sockaddr_in&>(address);
        address.sin6_family = sa_family_t(family);
        address.sin6_port = htons(port);
        if (family == AF_INET)
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        else
            address.sin6_addr = in6addr_loopback;
        socklen_t length = family == AF_INET ? sizeof v4 : sizeof address;
        const int reuse = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        listening_ = ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                     ::listen(listener_, behaviour == NeverAccepts ? 0 : 64) == 0 &&
                     ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        port_ = ntohs(address.sin6_port);
        for (int& filler : fillers_) {
            filler =
                behaviour == NeverAccepts ? ::socket(family, SOCK_STREAM | SOCK_NONBLOCK, 0) : -1;
            pollfd connected{filler, POLLOUT, 0};
            if (filler >= 0 &&
                ::connect(filler, reinterpret_cast<sockaddr*>(&address), length) != 0)
                ::poll(&connected, 1, 100);
        }
        if (listening_ && behaviour != NeverAccepts)
            server_ = std::thread([this] { serve(); });
    }
    ~LoopbackPrinter()
    {
        stop_ = true;
        if (server_.joinable())
            server_.join();
        for (int filler : fillers_)
            ::close(filler);
        ::close(listener_);
    }

    bool listening() const { return listening_; }
    std::uint16_t port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    // The next document read to its end; empty when none came within the bound.
    std::string receiveDocument(int boundMs = 10000)
    {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, std::chrono::milliseconds(boundMs),
                               [&] { return !documents_.empty(); }))
            return {};
        std::string document = std::move(documents_.front());
        documents_.pop_front();
        return document;
    }

private:
    bool readable(int descriptor) const
    {
        pollfd watched{descriptor, POLLIN, 0};
        while (!stop_)
            if (::poll(&watched, 1, 50) > 0)
                return true;
        return false;
    }
    void serve()
    {
        const linger resetOnClose{1, 0};
        char buffer[65536];
        while (readable(listener_)) {
            const int peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (behaviour_ == ResetsAtAccept)
                ::setsockopt(peer, SOL_SOCKET, SO_LINGER, &resetOnClose, sizeof resetOnClose);
            if (behaviour_ == HalfClosesFirst)
                ::shutdown(peer, SHUT_WR);
            std::string document;
            for (ssize_t n = 1; behaviour_ != ResetsAtAccept && n > 0 && readable(peer);) {
                n = ::read(peer, buffer, behaviour_ == ReadsPart ? 4096 : sizeof buffer);
                document.append(buffer, std::size_t(std::max<ssize_t>(n, 0)));
                if (answers_ && n > 0) {
                    const std::string answer = answers_({buffer, std::size_t(n)});
                    ::send(peer, answer.data(), answer.size(), MSG_NOSIGNAL);
                }
                n = behaviour_ == ReadsPart ? 0 : n;
            }
            ::close(peer);
            const std::lock_guard lock(mutex_);
            documents_.push_back(document);
            arrived_.notify_all();
        }
    }

    const Behaviour behaviour_;
    const int listener_;
    const Answers answers_;
    bool listening_ = false;
    std::uint16_t port_ = 0;
    int fillers_[3] = {-1, -1, -1};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::string> documents_;
    std::thread server_;
};
