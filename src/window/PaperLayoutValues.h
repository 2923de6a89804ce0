#pragma once

#include "PaperLayout.h"

#include <string>

// What the paper layout dialog holds, as typed: distances in mm, checked only when sent.
struct PaperLayoutValues {
    PaperLayout::Kind kind = PaperLayout::Kind::BlackMarkPaper;
    std::string pitch, printStart, cut, bottom;
    bool keepAfterPowerOff = false;
};
