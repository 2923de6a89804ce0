#pragma once

#include "Deadline.h"

#include <cstdint>

// Reads what a line or device has sent back, waiting for its first byte no longer than the
// deadline: the count read, 0 when nothing came in time, -1 with errno set on failure. A far
// end that has gone away reads as EIO, as a line that lost its device does.
std::int64_t readWithin(int descriptor, char* buffer, std::int64_t capacity, const Deadline& until);
