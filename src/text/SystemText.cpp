#include "SystemText.h"

#include "UnicodeText.h"

namespace SystemText
{

std::string fromBytes(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const UnicodeText::CodePoint c = UnicodeText::decode(bytes, at);
        text += c.valid ? bytes.substr(at, c.length) : "\xEF\xBF\xBD";
        at += c.length;
    }
    return text;
}

} // namespace SystemText
