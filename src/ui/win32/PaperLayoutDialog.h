#pragma once

#include "MessageBoxMessages.h"
#include "PaperLayoutModel.h"

#include <windows.h>

#include <array>
#include <functional>

// Printer ▸ Paper layout… on Win32: the controls of the paper layout model, made when it is
// opened, in the window's font, with the window disabled until it is closed.
class PaperLayoutDialog
{
public:
    using PortOfWindow = std::function<PortSettings()>;

    PaperLayoutDialog(HINSTANCE instance, HWND owner, HFONT font, int dotsPerInch,
                      PaperLayoutValues& values, PrinterSdk& sdk, PortOfWindow port);
    ~PaperLayoutDialog();
    PaperLayoutDialog(const PaperLayoutDialog&) = delete;
    PaperLayoutDialog& operator=(const PaperLayoutDialog&) = delete;

    // Shows the dialog and runs its messages until it is closed.
    void run();

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(HWND window, UINT message, WPARAM w, LPARAM l);
    void createWindow();
    void createControls();
    HWND add(const wchar_t* kind, std::string_view text, DWORD style, DWORD extendedStyle, int left,
             int top, int width, int height, int id);
    void command(int id, int code);
    void focus(HWND control);
    void showKind();
    void collect();
    void act(bool (PaperLayoutModel::*action)(const PortSettings&));
    void close();
    int pixels(int twips) const;

    HINSTANCE instance_;
    HWND owner_;
    HFONT font_;
    int dotsPerInch_;
    HWND window_ = nullptr;
    HWND kind_ = nullptr;
    std::array<HWND, 4> distances_{};
    HWND keep_ = nullptr;
    HWND status_ = nullptr;
    MessageBoxMessages messages_;
    PaperLayoutModel model_;
    PortOfWindow port_;
};
