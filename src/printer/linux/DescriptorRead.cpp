#include "DescriptorRead.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

std::int64_t readWithin(int descriptor, char* buffer, std::int64_t capacity, const Deadline& until)
{
    for (;;) {
        pollfd readable{descriptor, POLLIN, 0};
        const int ready = ::poll(&readable, 1, until.remainingMs());
        if (ready == 0)
            return 0;
        if (ready < 0 && errno != EINTR)
            return -1;
        if (ready < 0)
            continue;
        const ssize_t n = ::read(descriptor, buffer, std::size_t(capacity));
        if (n > 0)
            return n;
        if (n == 0) {
            errno = EIO;
            return -1;
        }
        if (errno != EAGAIN && errno != EINTR)
            return -1;
        if (until.expired())
            return 0;
    }
}
