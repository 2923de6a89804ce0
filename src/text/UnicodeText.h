#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The few Unicode rules the tool's texts need, over UTF-8 held in std::string: reading code
// points, telling blanks and printable characters, and UTF-16 for the rules that count in
// 16-bit code units.
namespace UnicodeText
{

// A byte that starts no valid sequence reads as itself with `valid` false, one byte long.
struct CodePoint {
    char32_t value = 0;
    std::size_t length = 1;
    bool valid = true;
};

// The code point that starts at `at`, which must be inside the text.
CodePoint decode(std::string_view text, std::size_t at);

// White space as Unicode has it: the ASCII blanks, U+0085, U+00A0, U+1680, U+2000 to U+200A,
// U+2028, U+2029, U+202F, U+205F and U+3000.
bool isSpace(char32_t c);
// Neither a control nor a formatting character, a surrogate or a non-character.
bool isPrintable(char32_t c);

// "\"z\"" for a printable character, "U+0009" for any other, "byte 0xFF" for a stray byte.
std::string describe(const CodePoint& c);

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);
std::string toUtf8(char32_t c);

// Upper-case hex digits, at least `width` of them.
std::string hex(std::uint32_t value, int width = 1);

// The text without the blanks of isSpace at either end.
std::string_view trimmed(std::string_view text);

} // namespace UnicodeText
