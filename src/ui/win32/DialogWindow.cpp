#include "DialogWindow.h"

#include "WindowsText.h"

namespace DialogWindow
{

namespace
{

LOGFONTW messageFontLook()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont;
}

} // namespace

int screenDotsPerInch()
{
    const HDC screen = GetDC(nullptr);
    const int dots = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dots > 0 ? dots : 96;
}

HFONT messageFont()
{
    const LOGFONTW look = messageFontLook();
    return CreateFontIndirectW(&look);
}

HFONT messageFont(int points, int dotsPerInch)
{
    LOGFONTW look = messageFontLook();
    look.lfHeight = -MulDiv(points, dotsPerInch, 72);
    return CreateFontIndirectW(&look);
}

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon,
                   HICON smallIcon)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

HWND addControl(HWND parent, HFONT font, const wchar_t* kind, const wchar_t* text, DWORD style,
                DWORD extendedStyle, int left, int top, int width, int height, int id)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    const HWND control =
        CreateWindowExW(extendedStyle, kind, text, style | WS_CHILD | WS_VISIBLE, left, top, width,
                        height, parent, reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, WPARAM(font), FALSE);
    return control;
}

std::string windowText(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return WindowsText::utf8(text);
}

void showModal(HWND owner, HWND dialog, HWND focus)
{
    EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetFocus(focus);
}

bool runMessages(const HWND& dialog, const std::function<bool()>& open)
{
    MSG message{};
    while (open()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(got == 0 ? int(message.wParam) : 1);
            return false;
        }
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

void giveBackOwner(HWND owner)
{
    // The owner first, so that it, not another program, becomes active again.
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
}

} // namespace DialogWindow
