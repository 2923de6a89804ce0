#pragma once

#include <string>
#include <string_view>

// A distance as a script gives it: a decimal number of millimetres, optionally followed by
// "mm". The window reads its boxes leniently; the command line takes nothing it would have
// to guess at.
struct StrictDistance {
    std::string number;       // the decimal number alone, for the catalogue
    std::string refusal;      // empty when the text is a distance
    std::string roundingNote; // set when the count is not exactly the distance
    long long tenths = 0;     // in 0.1 mm, halves to even, for readTenths

    // In eighths of a millimetre, as the first family of commands counts; no sign.
    static StrictDistance read(std::string_view text);
    // In tenths of a millimetre, as the paper layout counts; with a sign where it may have one.
    static StrictDistance readTenths(std::string_view text, bool signAllowed);
};
