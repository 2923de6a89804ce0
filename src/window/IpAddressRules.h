#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The text rules of the IP address box, for a host on any toolkit. Texts come in UTF-16, as
// both toolkits hold them; errors are IpBoxError.
namespace IpAddressRules
{

// How often the first code unit of key stands in text.
std::int16_t countOf(std::u16string_view text, std::u16string_view key);

// The packed address (first part in bits 31 to 24) for the text of an Address write.
std::uint32_t packedAddress(std::u16string_view text);

// "a.b.c.d" for a packed address.
std::string dotted(std::uint32_t packed);

} // namespace IpAddressRules
