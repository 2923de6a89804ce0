// Any profile text: one that is taken sends at least one command, as hex command text that the
// send takes; one that is refused names its place first, as NAME:LINE:COLUMN.
#include "FuzzCheck.h"
#include "HexCommandText.h"
#include "Profile.h"

#include <regex>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::regex place("^f\\.toml:[0-9]+:[0-9]+: [\\s\\S]+");
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string refusal;
    const std::optional<Profile> profile = Profile::read(text, "f.toml", refusal);
    if (profile) {
        FUZZ_CHECK(!profile->commands.empty());
        std::string hex = profile->documentHexText();
        FUZZ_CHECK(encodeHexCommandText(hex).accepted());
    } else {
        FUZZ_CHECK(std::regex_match(refusal, place));
    }
    return 0;
}
