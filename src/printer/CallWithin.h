#pragma once

#include "CallQueue.h"

#include <optional>
#include <utility>

// Runs a call that takes no bound of its own, such as a host name lookup, on a thread of its
// own. When the bound passes first, the thread is left to finish by itself and its result is
// dropped there; nothing is returned.
template <typename Call>
auto CallWithin(const Deadline& deadline, Call call) -> std::optional<decltype(call())>
{
    return CallQueue().callWithin(deadline, std::move(call));
}
