// Any box text: an accepted distance is a count from 0 to 32767 whose tokens encode to
// exactly two bytes, low first, that give the count back.
#include "BlackMarkCommands.h"
#include "DistanceCount.h"
#include "FuzzCheck.h"
#include "HexCommandText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string box(reinterpret_cast<const char*>(data), size);
    const std::optional<int> count = DistanceCount::fromBoxText(box);
    if (!count)
        return 0;
    FUZZ_CHECK(*count >= 0 && *count <= DistanceCount::Largest);
    std::string text =
        BlackMarkCommands::CutPositionBackfeed.hexTemplate + DistanceCount::tokens(*count);
    const HexEncoding encoding = encodeHexCommandText(text);
    FUZZ_CHECK(encoding.accepted());
    FUZZ_CHECK(encoding.bytes.size() == 9);
    FUZZ_CHECK(encoding.bytes[7] + 256 * encoding.bytes[8] == *count);
    return 0;
}
