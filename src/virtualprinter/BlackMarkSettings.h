#pragma once

#include "PaperLayout.h"

#include <QString>
#include <optional>

// How far the paper moves after a mark is found, and which way.
struct PositionAdjustment {
    int count = 0;
    bool backfeed = false;
};

// The black-mark settings a printer holds after the commands it has been sent. Distances are
// counts of eighths of a millimetre.
struct BlackMarkSettings {
    std::optional<int> markMaxWidth;
    std::optional<int> paperMaxWidth;
    std::optional<bool> functionOn;
    std::optional<PositionAdjustment> printStart;
    std::optional<PositionAdjustment> cutPosition;

    // The other family: FS ( L's paper layout in effect, distances in 0.1 mm, and the copy that
    // GS ( M saved, loaded at start-up when that is chosen.
    std::optional<PaperLayout> layout;
    std::optional<PaperLayout> savedLayout;
    bool savedLoadsAtStartUp = false;
    // Where the paper waits, as FS ( L fn 48 tells it: bit 0 label peeling, 1 cutting, 2 print
    // start; 0 when it has moved since.
    int position = 0;

    // One line: "settings: mark max width 300 mm, paper max width 10 mm, ..."
    QString describe() const;
};

// A count as millimetres: 2400 gives "300", 100 gives "12.5".
QString millimetres(int count);

// "black-mark paper (pitch 100 mm, cut -1.5 mm)": the kind and the distances that are set.
QString paperLayoutWords(const std::optional<PaperLayout>& layout);
