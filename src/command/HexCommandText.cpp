#include "HexCommandText.h"

#include "UnicodeText.h"

#include <string_view>

namespace
{

void trimSpaces(std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, first);
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Token numbers in messages count from 1, as a person counts them.
std::string refuseToken(std::size_t tokenNumber, std::string_view token, const std::string& why)
{
    return "token " + std::to_string(tokenNumber) + " \"" + std::string(token) + "\" " + why;
}

// The value of one token, or -1 with a refusal.
int tokenValue(std::string_view token, std::size_t tokenNumber, std::string& refusal)
{
    int value = 0;
    for (std::size_t at = 0; at < token.size(); ++at) {
        const int digit = hexDigitValue(token[at]);
        if (digit < 0) {
            const std::string what = UnicodeText::describe(UnicodeText::decode(token, at));
            refusal = refuseToken(tokenNumber, token, "has " + what + ", which is not a hex digit");
            return -1;
        }
        value = value * 16 + digit;
        if (value > 0xFF) {
            refusal = refuseToken(tokenNumber, token, "is above FF");
            return -1;
        }
    }
    return value;
}

HexEncoding refused(std::string why)
{
    return {{}, std::move(why)};
}

} // namespace

HexEncoding encodeHexCommandText(std::string& text)
{
    trimSpaces(text);
    if (text.empty())
        return refused("no tokens");
    HexEncoding result;
    const std::string_view whole(text);
    std::size_t tokenStart = 0;
    std::size_t tokenNumber = 0;
    result.bytes.reserve(whole.size() / 2 + 1);
    while (tokenStart <= whole.size()) {
        std::size_t tokenEnd = whole.find(' ', tokenStart);
        if (tokenEnd == std::string_view::npos)
            tokenEnd = whole.size();
        ++tokenNumber;
        if (tokenNumber > MaxHexCommandTokens)
            return refused("more than " + std::to_string(MaxHexCommandTokens) + " tokens");
        const std::string_view token = whole.substr(tokenStart, tokenEnd - tokenStart);
        if (token.empty())
            return refused("empty token after token " + std::to_string(tokenNumber - 1));
        std::string why;
        const int value = tokenValue(token, tokenNumber, why);
        if (value < 0)
            return refused(why);
        result.bytes.push_back(static_cast<unsigned char>(value));
        tokenStart = tokenEnd + 1;
    }
    return result;
}

std::string hexCommandText(const std::string& bytes)
{
    std::string text;
    for (unsigned char byte : bytes)
        text.append(text.empty() ? "" : " ").append(UnicodeText::hex(byte, 2));
    return text;
}
