#pragma once

#include <cstddef>
#include <string>

// What a printer sent back and nobody has read yet. Only the newest bytes are kept, so that a
// printer that talks without end cannot fill the memory.
class KeptAnswers
{
public:
    static constexpr std::size_t MostBytes = 64 * 1024;

    void keep(const char* data, std::size_t count);
    bool empty() const { return bytes_.empty(); }
    // Moves up to `capacity` of the oldest bytes into `buffer`; how many it moved.
    std::size_t take(char* buffer, std::size_t capacity);

private:
    std::string bytes_;
};
