#pragma once

#include "FrmTestLayout.h"

#include <string>

// What the window's model asks of a window on any toolkit. Controls are named as in the
// layout; a list's entries count from 0.
class FrmTestView
{
public:
    using Control = FrmTestLayout::Control;

    virtual ~FrmTestView() = default;

    virtual void addItem(const Control& list, const std::string& text) = 0;
    // Selecting an entry from the program raises the list's click at once, as a user's
    // choice does.
    virtual void selectItem(const Control& list, int index) = 0;
    virtual int selectedIndex(const Control& list) const = 0;
    virtual int itemCount(const Control& list) const = 0;
    virtual void setText(const Control& control, const std::string& text) = 0;
    virtual std::string text(const Control& control) const = 0;
    virtual void setEnabled(const Control& control, bool enabled) = 0;
    // Closes the window; the program ends with it.
    virtual void unload() = 0;
};
