#pragma once

#include <string>
#include <vector>

// The bytes of a hex command text, or why the text is not one.
struct HexEncoding {
    std::vector<unsigned char> bytes;
    std::string refusal; // empty when the text was encoded

    bool accepted() const { return refusal.empty(); }
};

// Hex command text: tokens of one or more hex digits, each 00 to FF, separated by single
// spaces; spaces around the whole text are allowed. The text is trimmed of those spaces in
// place, as the send leaves it, and then encoded as a whole before anything is sent.
HexEncoding encodeHexCommandText(std::string& text);

// The hex command text of these bytes, as the tool shows a command: "1C 28 4C".
std::string hexCommandText(const std::string& bytes);

constexpr std::size_t MaxHexCommandTokens = 32767;
