#pragma once

#include <cstdint>

// Waits for `events` on a descriptor no longer than `boundMs` (a signal does not end the
// wait early): the events that came, 0 when none did within the bound.
short waitFor(int descriptor, short events, std::int64_t boundMs);
