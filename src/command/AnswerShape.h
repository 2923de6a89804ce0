#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// What an answer looks like, told by its first bytes: a single byte with some bits fixed, or
// a block that starts with a header byte (and, for some, bytes that name what it answers) and
// ends with a NUL, either the first one or after a fixed count of bytes.
struct AnswerShape {
    enum class Kind { Byte, Block };

    Kind kind = Kind::Byte;
    std::uint8_t mask = 0;  // Byte: the bits that are fixed,
    std::uint8_t value = 0; // and what they are
    std::string_view start; // Block: the header and the bytes that name the answer
    std::size_t length = 0; // Block: every byte, the NUL included; 0 up to the first NUL

    bool operator==(const AnswerShape&) const = default;

    // The answer to DLE EOT: 0xx1xx10.
    static constexpr AnswerShape statusByte() { return {Kind::Byte, 0x93, 0x12, {}, 0}; }
    // The answer to GS I 1 to 3 (and GS r): 0xx0xxxx.
    static constexpr AnswerShape idByte() { return {Kind::Byte, 0x90, 0x00, {}, 0}; }
    // The answer to GS I 65 to 69: 5F, text, 00.
    static constexpr AnswerShape textBlock() { return block("\x5F"); }
    static constexpr AnswerShape block(std::string_view start, std::size_t length = 0)
    {
        return {Kind::Block, 0, 0, start, length};
    }
};
