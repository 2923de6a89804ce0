#pragma once

#include <QTemporaryFile>
#include <netinet/in.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

// Name lookups that go unanswered: in a mount namespace of this thread's own, resolv.conf
// names a name server on loopback that takes queries and never answers. Needs root.
struct DnsBlackHole {
    QTemporaryFile conf;
    int server = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    bool made = false;

    DnsBlackHole()
    {
        const sockaddr_in address{AF_INET, htons(53), {htonl(INADDR_LOOPBACK)}, {}};
        made = ::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
               ::unshare(CLONE_NEWNS) == 0 &&
               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 && conf.open() &&
               conf.write("nameserver 127.0.0.1\noptions timeout:4 attempts:1\n") > 0 &&
               conf.flush() &&
               ::mount(QFile::encodeName(conf.fileName()).constData(), "/etc/resolv.conf", nullptr,
                       MS_BIND, nullptr) == 0;
    }
    ~DnsBlackHole()
    {
        if (made)
            ::umount2("/etc/resolv.conf", MNT_DETACH);
        ::close(server);
    }
};
