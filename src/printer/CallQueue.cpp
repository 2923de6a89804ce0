#include "CallQueue.h"

#include <deque>
#include <system_error>
#include <thread>

struct CallQueue::Calls {
    std::mutex mutex;
    std::condition_variable queued;
    std::deque<std::function<void()>> waiting;
    bool running = true; // a thread of its own takes the calls
    bool closed = false; // no more calls come
};

CallQueue::CallQueue() : calls_(std::make_shared<Calls>())
{
    try {
        std::thread([calls = calls_] { run(calls); }).detach();
    } catch (const std::system_error&) {
        // With no thread to be had, each call runs on the caller's thread, unbounded.
        calls_->running = false;
    }
}

CallQueue::~CallQueue()
{
    const std::lock_guard lock(calls_->mutex);
    calls_->closed = true;
    calls_->queued.notify_all();
}

void CallQueue::post(std::function<void()> call)
{
    {
        const std::lock_guard lock(calls_->mutex);
        if (calls_->running) {
            calls_->waiting.push_back(std::move(call));
            calls_->queued.notify_all();
            return;
        }
    }
    call();
}

void CallQueue::run(const std::shared_ptr<Calls>& calls)
{
    std::unique_lock lock(calls->mutex);
    for (;;) {
        calls->queued.wait(lock, [&] { return calls->closed || !calls->waiting.empty(); });
        if (calls->waiting.empty())
            return;
        std::function<void()> call = std::move(calls->waiting.front());
        calls->waiting.pop_front();
        lock.unlock();
        call();
        lock.lock();
    }
}
