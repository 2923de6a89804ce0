#pragma once

#include <array>
#include <optional>
#include <string>

// The paper layout that FS ( L sets and tells: the layout reference and six distances, each
// in 0.1 mm as set, or in dots as in effect; a distance left out keeps its value.
struct PaperLayout {
    enum class Kind : char {
        None = '0', // no layout: plain receipt paper
        DieCutLabels = '1',
        MarkedLabels = '2', // labels with black marks
        BlackMarkPaper = '3',
    };
    enum Field {
        Pitch,          // sa: one print reference to the next; 0 is not given
        PrintStart,     // sb: the print reference to the print start
        Cut,            // sc: the eject reference to the cut
        LabelBottom,    // sd: the eject reference to the label's bottom edge
        PrintingBottom, // se: the eject reference to the bottom of the printing area
        Horizontal,     // sf: the horizontal layout
    };
    static constexpr int FieldCount = 6;
    // Each field carries at most five digits, and a sign only where it may be negative.
    static constexpr int Largest = 99999;
    static bool maySign(Field field)
    {
        return field == PrintStart || field == Cut || field == PrintingBottom;
    }

    Kind kind = Kind::None;
    std::array<std::optional<int>, FieldCount> fields;

    // FS ( L fn 33 for this layout.
    std::string setCommand() const;
    // The layout that a FS ( L fn 34 answer tells; nothing when the answer is not one.
    static std::optional<PaperLayout> fromAnswer(const std::string& answer);

    // "black-mark paper; pitch 100 mm, print start -2.5 mm, ..." with each field in mm (from
    // 0.1 mm) or in dots.
    std::string line(bool inDots) const;
    static const char* kindWords(Kind kind);
    static const char* fieldWords(Field field);
    static const char* fieldKey(Field field);
};
