#include "ParallelJobs.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace ParallelJobs
{

void run(std::size_t count, int jobs, const std::function<void(std::size_t)>& each)
{
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < count;)
            each(i);
    };
    const std::size_t workers = std::min<std::size_t>(std::size_t(std::max(jobs, 1)), count);
    std::vector<std::thread> threads;
    try {
        for (std::size_t w = 1; w < workers; ++w)
            threads.emplace_back(work);
    } catch (const std::system_error&) {
    }
    work();
    for (std::thread& thread : threads)
        thread.join();
}

} // namespace ParallelJobs
