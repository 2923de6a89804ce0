// Any text: an accepted one re-formats to hex that encodes to the same bytes.
#include "FuzzCheck.h"
#include "HexCommandText.h"

#include <algorithm>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const std::string original = text;
    const HexEncoding encoding = encodeHexCommandText(text);
    FUZZ_CHECK(!text.starts_with(' ') && !text.ends_with(' '));
    FUZZ_CHECK(original.find(text) != std::string::npos);
    if (!encoding.accepted()) {
        FUZZ_CHECK(encoding.bytes.empty());
        return 0;
    }
    FUZZ_CHECK(encoding.bytes.size() == std::size_t(std::count(text.begin(), text.end(), ' ')) + 1);
    FUZZ_CHECK(encoding.bytes.size() <= MaxHexCommandTokens);
    std::string again;
    for (unsigned char byte : encoding.bytes) {
        char two[4];
        std::snprintf(two, sizeof two, "%02x ", byte);
        again += two;
    }
    const HexEncoding reencoded = encodeHexCommandText(again);
    FUZZ_CHECK(reencoded.accepted() && reencoded.bytes == encoding.bytes);
    return 0;
}
