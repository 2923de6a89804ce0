// Any Address write: refused with 102, 13 or 6, or accepted as an address whose dotted form
// writes again to the same value. Also CountIF with any key.
#include "FuzzCheck.h"
#include "IpAddressRules.h"
#include "IpBoxError.h"
#include "UnicodeText.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::u16string input =
        UnicodeText::toUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::size_t newline = input.find(u'\n');
    const std::u16string text = input.substr(0, newline);
    const std::u16string key =
        newline == std::u16string::npos ? std::u16string(u".") : input.substr(newline + 1);
    try {
        const std::int16_t count = IpAddressRules::countOf(text, key);
        FUZZ_CHECK(text.empty() ? count == 0
                                : count == std::count(text.begin(), text.end(), key[0]));
    } catch (const IpBoxError& error) {
        FUZZ_CHECK(error.number() == IpBoxError::InvalidArgument ||
                   error.number() == IpBoxError::Overflow);
    }
    try {
        const std::uint32_t packed = IpAddressRules::packedAddress(text);
        const std::string dotted = IpAddressRules::dotted(packed);
        FUZZ_CHECK(std::count(dotted.begin(), dotted.end(), '.') == 3 &&
                   IpAddressRules::packedAddress(UnicodeText::toUtf16(dotted)) == packed);
    } catch (const IpBoxError& error) {
        FUZZ_CHECK(error.number() == IpBoxError::AddressFormat ||
                   error.number() == IpBoxError::TypeMismatch ||
                   error.number() == IpBoxError::Overflow);
    }
    return 0;
}
