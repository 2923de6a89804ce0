#pragma once

#include <string>
#include <string_view>

// A distance as a script gives it: a decimal number of millimetres, optionally followed by
// "mm". The window reads its boxes leniently; the command line takes nothing it would have
// to guess at.
struct StrictDistance {
    std::string number;       // the decimal number alone, for the catalogue
    std::string refusal;      // empty when the text is a distance
    std::string roundingNote; // set when the 1/8 mm count is not exactly the distance

    static StrictDistance read(std::string_view text);
};
