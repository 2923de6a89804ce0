#pragma once

#include <cstdint>
#include <string>

// The values that outlive a press; each send overwrites those it reaches.
struct WindowValues {
    std::string CommandText;
    std::int32_t PortHandle = -1;
    bool DocFlag = false;
    std::int32_t LastResult = 0;
};
