#pragma once

#include <charconv>
#include <string>

// A number with a fixed count of decimals and a full stop, whatever the locale.
inline std::string fixedDecimals(double value, int decimals)
{
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, end.ptr);
}
