#include "IpAddressRules.h"

#include "IpBoxError.h"
#include "UnicodeText.h"

#include <algorithm>
#include <vector>

namespace
{

constexpr std::size_t LongestCountedText = 16383;

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && UnicodeText::isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && UnicodeText::isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// One part of the address as a byte: blanks around it ignored, decimal digits with an
// optional sign, leading zeros allowed.
std::uint8_t addressPartByte(std::u16string_view part)
{
    std::u16string_view number = trimmed(part);
    bool negative = false;
    if (!number.empty() && (number[0] == u'+' || number[0] == u'-')) {
        negative = number[0] == u'-';
        number.remove_prefix(1);
    }
    if (number.empty())
        throw IpBoxError(IpBoxError::TypeMismatch, "Type mismatch");
    int value = 0;
    bool overflow = false;
    for (char16_t c : number) {
        if (c < u'0' || c > u'9')
            throw IpBoxError(IpBoxError::TypeMismatch, "Type mismatch");
        value = value * 10 + (c - u'0');
        if (value > 255) {
            overflow = true;
            value = 256; // keeps reading, so that a later non-digit is still a type mismatch
        }
    }
    if (overflow || (negative && value != 0))
        throw IpBoxError(IpBoxError::Overflow, "Overflow");
    return static_cast<std::uint8_t>(value);
}

std::vector<std::u16string_view> splitAtDots(std::u16string_view text)
{
    std::vector<std::u16string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dot = text.find(u'.', start);
        parts.push_back(text.substr(start, dot - start));
        if (dot == std::u16string_view::npos)
            return parts;
        start = dot + 1;
    }
}

} // namespace

namespace IpAddressRules
{

std::int16_t countOf(std::u16string_view text, std::u16string_view key)
{
    if (text.empty())
        return 0;
    if (key.empty())
        throw IpBoxError(IpBoxError::InvalidArgument, "Invalid procedure call or argument");
    if (text.size() > LongestCountedText)
        throw IpBoxError(IpBoxError::Overflow, "Overflow");
    // Whole code units are compared, so no other character can pass for the key.
    return static_cast<std::int16_t>(std::count(text.begin(), text.end(), key[0]));
}

std::uint32_t packedAddress(std::u16string_view text)
{
    if (countOf(text, u".") < 3)
        throw IpBoxError(IpBoxError::AddressFormat, IpBoxError::AddressFormatDescription);
    const std::vector<std::u16string_view> p = splitAtDots(text);
    // Whole code units are counted, so three dots always make four parts; kept for a count
    // that another host might make of bytes.
    if (p.size() < 4)
        throw IpBoxError(IpBoxError::IndexOutOfRange, "Subscript out of range");
    // Converted from the last part to the first; parts after the fourth are ignored.
    const std::uint8_t b[4] = {addressPartByte(p[3]), addressPartByte(p[2]), addressPartByte(p[1]),
                               addressPartByte(p[0])};
    return std::uint32_t(b[3]) << 24 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[1]) << 8 | b[0];
}

std::string dotted(std::uint32_t packed)
{
    return std::to_string(packed >> 24 & 0xFF) + "." + std::to_string(packed >> 16 & 0xFF) + "." +
           std::to_string(packed >> 8 & 0xFF) + "." + std::to_string(packed & 0xFF);
}

} // namespace IpAddressRules
