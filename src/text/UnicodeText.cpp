#include "UnicodeText.h"

namespace
{

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

namespace UnicodeText
{

CodePoint decode(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {lead, 1, true};
    // The length and the smallest code point that needs it, against overlong forms.
    std::size_t length = 0;
    char32_t value = 0, least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return {lead, 1, false};
    }
    if (at + length > text.size())
        return {lead, 1, false};
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!isContinuation(byte))
            return {lead, 1, false};
        value = value << 6 | (byte & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {lead, 1, false};
    return {value, length, true};
}

bool isSpace(char32_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

bool isPrintable(char32_t c)
{
    const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
    const bool format = c == 0xAD || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
                        (c >= 0x2060 && c <= 0x2064) || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB);
    const bool nonCharacter = (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    return !control && !format && !nonCharacter && !surrogate && c <= 0x10FFFF;
}

std::string describe(const CodePoint& c)
{
    if (!c.valid)
        return "byte 0x" + hex(c.value, 2);
    if (isPrintable(c.value) && !isSpace(c.value))
        return '"' + toUtf8(c.value) + '"';
    return "U+" + hex(c.value, 4);
}

std::string toUtf8(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

// A stray byte becomes U+FFFD, as a toolkit shows it.
std::u16string toUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const CodePoint c = decode(utf8, at);
        at += c.length;
        const char32_t value = c.valid ? c.value : 0xFFFD;
        if (value < 0x10000) {
            out += char16_t(value);
        } else {
            out += char16_t(0xD800 + ((value - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((value - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string toUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t value = utf16[i];
        const bool high = value >= 0xD800 && value <= 0xDBFF;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF)
            value = 0x10000 + ((value - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        else if (value >= 0xD800 && value <= 0xDFFF)
            value = 0xFFFD;
        out += toUtf8(value);
    }
    return out;
}

std::string hex(std::uint32_t value, int width)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (int(out.size()) < width)
        out.insert(0, std::size_t(width) - out.size(), '0');
    return out;
}

std::string_view trimmed(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size()) {
        const CodePoint c = decode(text, first);
        if (!c.valid || !isSpace(c.value))
            break;
        first += c.length;
    }
    std::size_t end = text.size();
    while (end > first) {
        std::size_t start = end - 1;
        while (start > first && isContinuation(static_cast<unsigned char>(text[start])))
            --start;
        const CodePoint c = decode(text, start);
        if (!c.valid || start + c.length != end || !isSpace(c.value))
            break;
        end = start;
    }
    return text.substr(first, end - first);
}

} // namespace UnicodeText
