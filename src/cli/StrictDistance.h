#pragma once

#include <QString>

// A distance as a script gives it: a decimal number of millimetres, optionally followed by
// "mm". The window reads its boxes leniently; the command line takes nothing it would have
// to guess at.
struct StrictDistance {
    QString number;       // the decimal number alone, for the catalogue
    QString refusal;      // empty when the text is a distance
    QString roundingNote; // set when the 1/8 mm count is not exactly the distance

    static StrictDistance read(const QString& text);
};
