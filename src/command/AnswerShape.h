#pragma once

#include <cstdint>

// What an answer looks like, told by its first byte: a single byte with some bits fixed, or a
// block that starts with a header byte (and, for some headers, a second byte naming what it
// answers) and runs up to a NUL.
struct AnswerShape {
    enum class Kind { Byte, Block };

    Kind kind = Kind::Byte;
    std::uint8_t mask = 0;   // Byte: the bits that are fixed,
    std::uint8_t value = 0;  // and what they are
    std::uint8_t header = 0; // Block: the first byte,
    int tag = -1;            // and the second, when it names the answer; -1 for any

    bool operator==(const AnswerShape&) const = default;

    // The answer to DLE EOT: 0xx1xx10.
    static constexpr AnswerShape statusByte() { return {Kind::Byte, 0x93, 0x12, 0, -1}; }
    // The answer to GS I 1 to 3 (and GS r): 0xx0xxxx.
    static constexpr AnswerShape idByte() { return {Kind::Byte, 0x90, 0x00, 0, -1}; }
    // The answer to GS I 65 to 69: 5F, text, 00.
    static constexpr AnswerShape textBlock() { return {Kind::Block, 0, 0, 0x5F, -1}; }
    static constexpr AnswerShape block(std::uint8_t header, int tag)
    {
        return {Kind::Block, 0, 0, header, tag};
    }
};
