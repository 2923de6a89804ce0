#pragma once

#include <optional>
#include <string>
#include <string_view>

// A distance in eighths of a millimetre, as the printer takes it in two bytes.
namespace DistanceCount
{

constexpr int Largest = 32767; // 4095.875 mm

// Reads the leading decimal number of a box's text: blanks anywhere are skipped, then an
// optional sign, digits, an optional full stop and digits, an optional exponent. Reading
// stops at the first character that cannot continue the number; no number reads as 0.
// The full stop is the decimal point whatever the locale.
double readDecimal(std::string_view text);

// The count for a box's text (millimetres times 8, halves to even), or nothing when it is
// below 0 or above Largest: those cannot be sent.
std::optional<int> fromBoxText(std::string_view text);

// "low high" as upper-case hex tokens without leading zeros: 2400 gives "60 9".
std::string tokens(int count);

} // namespace DistanceCount
