// Any range text: refused with a reason that quotes it, or read as a non-empty run of
// addresses that the text writes exactly (an address, or both ends of a dash range) or, for
// a block, one aligned to its prefix.
#include "AddressRange.h"
#include "FuzzCheck.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const AddressRange range = AddressRange::read(text);
    if (!range.refusal.empty()) {
        FUZZ_CHECK(
            range.refusal.rfind("\"" + std::string(text) + "\" is not an address range: ", 0) == 0);
        return 0;
    }
    FUZZ_CHECK(range.first <= range.last);
    const std::size_t slash = text.find('/');
    if (slash != std::string_view::npos) {
        FUZZ_CHECK(readIpv4(text.substr(0, slash)).has_value());
        // A whole block, or one without its network and broadcast addresses.
        const std::uint64_t n = range.size();
        FUZZ_CHECK((n & (n - 1)) == 0 || ((n + 2) & (n + 1)) == 0);
    } else if (text.find('-') != std::string_view::npos) {
        FUZZ_CHECK(ipv4Text(range.first) + '-' + ipv4Text(range.last) == text);
    } else {
        FUZZ_CHECK(range.first == range.last && ipv4Text(range.first) == text);
    }
    return 0;
}
