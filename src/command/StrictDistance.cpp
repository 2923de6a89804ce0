#include "StrictDistance.h"

#include "Decimals.h"
#include "DistanceCount.h"

#include <algorithm>
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

// The number of a distance, blanks and "mm" around it; empty with the refusal when there is
// none. A sign is taken where one is allowed.
std::string distanceNumber(std::string_view text, bool signAllowed, std::string& refusal)
{
    std::size_t start = skip(text, 0, isBlank);
    const bool sign =
        signAllowed && start < text.size() && (text[start] == '-' || text[start] == '+');
    const std::size_t end = numberEnd(text, start + (sign ? 1 : 0));
    std::size_t rest = skip(text, end, isBlank);
    if (text.substr(rest, 2) == "mm")
        rest = skip(text, rest + 2, isBlank);
    if (end == start + (sign ? 1 : 0) || rest != text.size()) {
        refusal = std::string("\"").append(text) +
                  "\" is not a distance: give a decimal number of millimetres, such as 2.5 or "
                  "2.5mm";
        return {};
    }
    return std::string(text.substr(start, end - start));
}

// The decimal number, without a sign, in tenths, an exact half to the even neighbour; -1 when
// it is too large for any distance.
long long tenthsOf(std::string_view number)
{
    const std::size_t point = std::min(number.find('.'), number.size());
    const std::string_view whole = number.substr(0, point);
    const std::string_view fraction = number.substr(std::min(point + 1, number.size()));
    const std::size_t firstDigit = whole.find_first_not_of('0');
    if (firstDigit != std::string_view::npos && whole.size() - firstDigit > 9)
        return -1;
    long long tenths = 0;
    for (char c : whole)
        tenths = tenths * 10 + (c - '0');
    tenths = tenths * 10 + (fraction.empty() ? 0 : fraction[0] - '0');
    const std::string_view rest = fraction.substr(std::min<std::size_t>(1, fraction.size()));
    const bool beyondHalf =
        !rest.empty() && (rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) !=
                                                                  std::string_view::npos));
    const bool half = !rest.empty() && rest[0] == '5' && !beyondHalf;
    return tenths + (beyondHalf || (half && tenths % 2 == 1) ? 1 : 0);
}

std::string tenthsText(long long tenths)
{
    const long long magnitude = tenths < 0 ? -tenths : tenths;
    // Appended, not a literal + a temporary, which GCC 12 takes for an overlapping copy.
    const std::string fraction =
        magnitude % 10 == 0 ? "" : std::string(".").append(std::to_string(magnitude % 10));
    return std::string(tenths < 0 ? "-" : "").append(std::to_string(magnitude / 10)) + fraction;
}

} // namespace

StrictDistance StrictDistance::read(std::string_view text)
{
    StrictDistance read;
    read.number = distanceNumber(text, false, read.refusal);
    if (!read.refusal.empty())
        return read;
    const double value = DistanceCount::readDecimal(read.number);
    const double count = std::nearbyint(value * 8.0);
    if (count != value * 8.0 && count <= DistanceCount::Largest)
        read.roundingNote = read.number + " mm sent as " + millimetres(count / 8.0) + " mm, " +
                            std::to_string(static_cast<int>(count)) + " counts";
    return read;
}

StrictDistance StrictDistance::readTenths(std::string_view text, bool signAllowed)
{
    StrictDistance read;
    read.number = distanceNumber(text, signAllowed, read.refusal);
    if (!read.refusal.empty())
        return read;
    const bool negative = read.number.starts_with('-');
    const bool sign = negative || read.number.starts_with('+');
    const std::string_view magnitude = std::string_view(read.number).substr(sign ? 1 : 0);
    const long long tenths = tenthsOf(magnitude);
    read.tenths = negative ? -tenths : tenths;
    const bool exact = magnitude.find('.') == std::string_view::npos ||
                       magnitude.substr(magnitude.find('.') + 1).find_first_not_of('0', 1) ==
                           std::string_view::npos;
    if (tenths < 0)
        read.tenths = 0x7FFFFFFF; // beyond any field; the caller refuses it
    else if (!exact)
        read.roundingNote = read.number + " mm sent as " + tenthsText(read.tenths) + " mm, " +
                            std::to_string(read.tenths) + " counts";
    return read;
}
