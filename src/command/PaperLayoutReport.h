#pragma once

#include "PaperLayout.h"

#include <optional>
#include <string>

class PrinterEnquiry;

// The paper layout a printer tells: as set, in 0.1 mm, and in effect, in dots.
struct PaperLayoutReport {
    std::optional<PaperLayout> asSet;
    std::optional<PaperLayout> inEffect;

    static PaperLayoutReport ask(PrinterEnquiry& enquiry);

    bool answeredAny() const { return asSet || inEffect; }
    // "as set: ...\nin effect: ...\n", "not answered" for each that got no answer.
    std::string lines() const;
};
