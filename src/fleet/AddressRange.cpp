#include "AddressRange.h"

#include <charconv>

namespace
{

AddressRange refused(std::string_view text, const std::string& why)
{
    AddressRange range;
    range.refusal.append("\"").append(text).append("\" is not an address range: ").append(why);
    return range;
}

} // namespace

std::optional<std::uint32_t> readIpv4(std::string_view text)
{
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.')
                return std::nullopt;
            text.remove_prefix(1);
        }
        // Leading zeros read as octal elsewhere; refuse them rather than guess.
        if (text.empty() || text.front() < '0' || text.front() > '9' ||
            (text.size() > 1 && text.front() == '0' && text[1] >= '0' && text[1] <= '9'))
            return std::nullopt;
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || value > 255)
            return std::nullopt;
        text.remove_prefix(std::size_t(end - text.data()));
        address = address << 8 | value;
    }
    if (!text.empty())
        return std::nullopt;
    return address;
}

std::string ipv4Text(std::uint32_t address)
{
    return std::to_string(address >> 24) + '.' + std::to_string(address >> 16 & 255) + '.' +
           std::to_string(address >> 8 & 255) + '.' + std::to_string(address & 255);
}

AddressRange AddressRange::read(std::string_view text)
{
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        const std::optional<std::uint32_t> base = readIpv4(text.substr(0, slash));
        if (!base)
            return refused(text, "the part before \"/\" is not an IPv4 address");
        const std::string_view bits = text.substr(slash + 1);
        unsigned prefix = 0;
        const auto [end, error] = std::from_chars(bits.data(), bits.data() + bits.size(), prefix);
        if (bits.empty() || error != std::errc() || end != bits.data() + bits.size() ||
            prefix > 32 || (bits.size() > 1 && bits.front() == '0'))
            return refused(text, "the prefix after \"/\" must be a whole number from 0 to 32");
        const std::uint32_t hostBits = prefix == 0 ? 0xFFFFFFFFu : (1u << (32 - prefix)) - 1;
        AddressRange range;
        range.first = *base & ~hostBits;
        range.last = range.first | hostBits;
        if (prefix <= 30) {
            ++range.first;
            --range.last;
        }
        return range;
    }
    if (const std::size_t dash = text.find('-'); dash != std::string_view::npos) {
        const std::optional<std::uint32_t> first = readIpv4(text.substr(0, dash));
        const std::optional<std::uint32_t> last = readIpv4(text.substr(dash + 1));
        if (!first || !last)
            return refused(text, "both ends of a dash range must be IPv4 addresses");
        if (*last < *first)
            return refused(text, "the range ends before it starts");
        AddressRange range;
        range.first = *first;
        range.last = *last;
        return range;
    }
    const std::optional<std::uint32_t> address = readIpv4(text);
    if (!address)
        return refused(text, "write one IPv4 address, a block such as 192.168.1.0/24, or a range "
                             "such as 192.168.1.20-192.168.1.80");
    AddressRange range;
    range.first = range.last = *address;
    return range;
}
