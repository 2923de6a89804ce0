#pragma once

#include <windows.h>

// The window's cursor says that it does not answer while a command is sent.
class BusyCursor
{
public:
    BusyCursor() : before_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~BusyCursor() { SetCursor(before_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    HCURSOR before_;
};
