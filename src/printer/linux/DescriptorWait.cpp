#include "DescriptorWait.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>

short waitFor(int descriptor, short events, std::int64_t boundMs)
{
    pollfd watched{descriptor, events, 0};
    int ready;
    do
        ready = ::poll(&watched, 1, int(std::clamp<std::int64_t>(boundMs, 0, INT_MAX)));
    while (ready < 0 && errno == EINTR);
    return ready > 0 ? watched.revents : 0;
}
