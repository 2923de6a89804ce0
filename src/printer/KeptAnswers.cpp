#include "KeptAnswers.h"

#include <algorithm>

void KeptAnswers::keep(const char* data, std::size_t count)
{
    bytes_.append(data, count);
    if (bytes_.size() > MostBytes)
        bytes_.erase(0, bytes_.size() - MostBytes);
}

std::size_t KeptAnswers::take(char* buffer, std::size_t capacity)
{
    const std::size_t taken = std::min(capacity, bytes_.size());
    bytes_.copy(buffer, taken);
    bytes_.erase(0, taken);
    return taken;
}
