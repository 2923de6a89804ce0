#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The steps that the window and its dialogs, built in code, take alike.
namespace DialogWindow
{

// The screen's dots per inch, 96 where it tells none.
int screenDotsPerInch();
// The system's message font, at its own size or at points for the screen's dotsPerInch.
HFONT messageFont();
HFONT messageFont(int points, int dotsPerInch);

// A window class in the dialogs' face colour and the arrow cursor; registering it again
// fails harmlessly.
void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon = nullptr,
                   HICON smallIcon = nullptr);

// The object that a window was made for (CreateWindowExW's last argument), kept in the
// window from its first message on, which also sets the object's handle; nullptr after
// WM_DESTROY clears it.
template <class Owner> Owner* ownerOf(HWND window, UINT message, LPARAM l, HWND Owner::*handle)
{
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        owner->*handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// A visible child control in the font, at a place in pixels.
HWND addControl(HWND parent, HFONT font, const wchar_t* kind, const wchar_t* text, DWORD style,
                DWORD extendedStyle, int left, int top, int width, int height, int id);

std::string windowText(HWND window);

// A modal dialog: its owner off, the dialog shown with the focus on a control; then its
// messages while it is open, and the owner on and active again.
void showModal(HWND owner, HWND dialog, HWND focus);
// Runs the dialog's messages while open() holds (dialog is read at each one, as the window
// may go meanwhile); false when the program's quit came first, which is passed on to the
// window's own loop.
bool runMessages(const HWND& dialog, const std::function<bool()>& open);
void giveBackOwner(HWND owner);

} // namespace DialogWindow
