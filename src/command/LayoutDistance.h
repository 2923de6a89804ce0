#pragma once

#include "PaperLayout.h"

#include <string>
#include <string_view>

// One distance of the paper layout as the user gives it, in mm: checked against what the
// field takes (a sign only where it may have one, five digits of 0.1 mm) and rounded as
// StrictDistance rounds it.
struct LayoutDistance {
    int tenths = 0;
    std::string refusal;      // empty when the text is a distance the field takes
    std::string roundingNote; // set when the tenths are not exactly the distance

    // name: how a refusal calls the distance.
    static LayoutDistance read(std::string_view text, PaperLayout::Field field,
                               const std::string& name);
};
