#pragma once

#include "Deadline.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

// Runs a call that takes no bound of its own, such as a host name lookup, on a thread of its
// own. When the bound passes first, the thread is left to finish by itself and its result is
// dropped there; nothing is returned.
template <typename Call>
auto CallWithin(const Deadline& deadline, Call call) -> std::optional<decltype(call())>
{
    using Result = decltype(call());
    struct Outcome {
        std::mutex mutex;
        std::condition_variable finished;
        std::optional<Result> result;
    };
    const auto outcome = std::make_shared<Outcome>();
    std::thread([outcome, call = std::move(call)]() mutable {
        Result result = call();
        const std::lock_guard lock(outcome->mutex);
        outcome->result.emplace(std::move(result));
        outcome->finished.notify_all();
    }).detach();
    std::unique_lock lock(outcome->mutex);
    if (!outcome->finished.wait_for(lock, std::chrono::milliseconds(deadline.remainingMs()),
                                    [&] { return outcome->result.has_value(); }))
        return std::nullopt;
    return std::move(outcome->result);
}
