#pragma once

#include <cstddef>
#include <functional>

namespace ParallelJobs
{

// Calls `each` once for every index from 0 to count - 1, at most `jobs` at a time, and returns
// when all have returned. Each worker takes the next index when it is free, so one call that
// hangs holds up only its worker. Where the system gives fewer threads than asked, the workers
// there are take the whole list.
void run(std::size_t count, int jobs, const std::function<void(std::size_t)>& each);

} // namespace ParallelJobs
