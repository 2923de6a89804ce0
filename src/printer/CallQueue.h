#pragma once

#include "Deadline.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

// Runs calls one after another on a thread of its own, so that the caller can stop waiting for
// one that does not return: the calls queued after it, such as those that clean up after it,
// still run in order once it does. The thread ends by itself when the queue is gone and its
// calls are done; nothing ever waits for it.
class CallQueue
{
public:
    CallQueue();
    ~CallQueue();
    CallQueue(const CallQueue&) = delete;
    CallQueue& operator=(const CallQueue&) = delete;

    // Queues the call and returns at once. A call holds what it uses: it may run after its
    // caller has returned.
    void post(std::function<void()> call);

    // The call's result, or nothing when the deadline passed first; the call then runs on,
    // and its result is dropped.
    template <typename Call>
    auto callWithin(const Deadline& deadline, Call call) -> std::optional<decltype(call())>
    {
        using Result = decltype(call());
        struct Outcome {
            std::mutex mutex;
            std::condition_variable finished;
            std::optional<Result> result;
        };
        const auto outcome = std::make_shared<Outcome>();
        post([outcome, call = std::move(call)]() mutable {
            Result result = call();
            const std::lock_guard lock(outcome->mutex);
            outcome->result.emplace(std::move(result));
            outcome->finished.notify_all();
        });
        std::unique_lock lock(outcome->mutex);
        if (!outcome->finished.wait_for(lock, std::chrono::milliseconds(deadline.remainingMs()),
                                        [&] { return outcome->result.has_value(); }))
            return std::nullopt;
        return std::move(outcome->result);
    }

private:
    struct Calls;
    static void run(const std::shared_ptr<Calls>& calls);

    std::shared_ptr<Calls> calls_;
};
