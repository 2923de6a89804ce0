#include "LayoutDistance.h"

#include "StrictDistance.h"

LayoutDistance LayoutDistance::read(std::string_view text, PaperLayout::Field field,
                                    const std::string& name)
{
    LayoutDistance read;
    const bool signAllowed = PaperLayout::maySign(field);
    const StrictDistance distance = StrictDistance::readTenths(text, signAllowed);
    if (!distance.refusal.empty()) {
        read.refusal = distance.refusal + (signAllowed ? ", or with a sign" : "");
        return read;
    }
    if (distance.tenths > PaperLayout::Largest || distance.tenths < -PaperLayout::Largest) {
        read.refusal = name + " \"" + std::string(text) +
                       "\" does not fit: the printer takes at most five digits of 0.1 mm, "
                       "9999.9 mm";
        return read;
    }
    read.tenths = int(distance.tenths);
    read.roundingNote = distance.roundingNote;
    return read;
}
