#pragma once

#include "IpBoxError.h"

#include <windows.h>

#include <cstdint>
#include <string>

// A control for entering an IPv4 address, as dotted decimal text through Address. The address
// lives in its child, a "SysIPAddress32" window over the whole control; the control itself
// keeps nothing else.
class ipBox
{
public:
    // Child::None stands for a control whose child could not be created.
    enum class Child { Create, None };

    // A control of 1980 by 285 twips at the place given in the parent, in pixels.
    ipBox(HWND parent, int x, int y, Child child = Child::Create);
    ~ipBox();
    ipBox(const ipBox&) = delete;
    ipBox& operator=(const ipBox&) = delete;

    // How often the first character of nChar stands in lzExpr. Throws IpBoxError: 5 when
    // nChar is empty and lzExpr is not, 6 when lzExpr has 16,384 characters or more.
    std::int16_t CountIF(const std::wstring& lzExpr, const std::wstring& nChar) const;

    // Makes a new child over the whole control; an earlier child stays where it is, unused.
    void CreateTextBox();

    std::wstring Address() const;
    // Throws IpBoxError: 102 with fewer than three dots, 13 or 6 from the first of the parts
    // 4, 3, 2, 1 that is not a number from 0 to 255. The child is then left as it was.
    void setAddress(const std::wstring& NewIP);

    // The control's own window, which its parent places and sizes.
    HWND window() const { return window_; }

    HWND hIPWnd = nullptr;

private:
    // The control's window class, and the common control of its child, once a program.
    static void registerClasses();
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void UserControl_Initialize(Child child);
    void UserControl_Resize();
    std::wstring GetAddressText() const;

    HWND window_ = nullptr;
};
