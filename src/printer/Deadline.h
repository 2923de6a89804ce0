#pragma once

#include <algorithm>
#include <chrono>
#include <climits>

// The end of a bounded wait, on the steady clock.
class Deadline
{
public:
    using Clock = std::chrono::steady_clock;
    using Milliseconds = std::chrono::milliseconds;

    explicit Deadline(Milliseconds bound) : end_(Clock::now() + bound) {}
    explicit Deadline(long long boundMs) : Deadline(Milliseconds(boundMs)) {}

    bool expired() const { return Clock::now() >= end_; }
    // What is left, never below 0, for calls that take milliseconds as an int.
    int remainingMs() const
    {
        const auto left = std::chrono::ceil<Milliseconds>(end_ - Clock::now()).count();
        return int(std::clamp<long long>(left, 0, INT_MAX));
    }
    void extend(Milliseconds more) { end_ += more; }

private:
    Clock::time_point end_;
};
