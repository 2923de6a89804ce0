#include "StrictDistance.h"

#include "Decimals.h"
#include "DistanceCount.h"

#include <cmath>

namespace
{

// Blanks as a script's shell may leave them: ASCII ones only.
bool isBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skip(std::string_view text, std::size_t at, bool (*kind)(char))
{
    while (at < text.size() && kind(text[at]))
        ++at;
    return at;
}

// Where the number that begins at `at` ends: digits with an optional full stop and digits,
// or a full stop and digits. `at` when there is none.
std::size_t numberEnd(std::string_view text, std::size_t at)
{
    const std::size_t digitsEnd = skip(text, at, isDigit);
    const bool point = digitsEnd < text.size() && text[digitsEnd] == '.';
    if (!point)
        return digitsEnd;
    const std::size_t decimalsEnd = skip(text, digitsEnd + 1, isDigit);
    return digitsEnd > at || decimalsEnd > digitsEnd + 1 ? decimalsEnd : at;
}

// 2.5 for 2.500, 3 for 3.000.
std::string millimetres(double value)
{
    std::string text = fixedDecimals(value, 3);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.ends_with('.'))
        text.pop_back();
    return text;
}

} // namespace

StrictDistance StrictDistance::read(std::string_view text)
{
    const std::size_t start = skip(text, 0, isBlank);
    const std::size_t end = numberEnd(text, start);
    std::size_t rest = skip(text, end, isBlank);
    if (text.substr(rest, 2) == "mm")
        rest = skip(text, rest + 2, isBlank);
    StrictDistance read;
    if (end == start || rest != text.size()) {
        read.refusal = "\"" + std::string(text) +
                       "\" is not a distance: give a decimal number of millimetres, such as 2.5 "
                       "or 2.5mm";
        return read;
    }
    read.number = text.substr(start, end - start);
    const double value = DistanceCount::readDecimal(read.number);
    const double count = std::nearbyint(value * 8.0);
    if (count != value * 8.0 && count <= DistanceCount::Largest)
        read.roundingNote = read.number + " mm sent as " + millimetres(count / 8.0) + " mm, " +
                            std::to_string(static_cast<int>(count)) + " counts";
    return read;
}
