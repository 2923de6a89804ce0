#pragma once

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

    // One line: "settings: mark max width 300 mm, paper max width 10 mm, ..."
    QString describe() const;
};

// A count as millimetres: 2400 gives "300", 100 gives "12.5".
QString millimetres(int count);
