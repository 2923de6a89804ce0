#include "ipBox.h"

#include "DefaultNetworkAddress.h"
#include "IpAddressRules.h"
#include "Twips.h"
#include "WindowsText.h"

#include <commctrl.h>

namespace
{

constexpr wchar_t ControlClass[] = L"BlackMarkSetup.ipBox";
constexpr int WidthTwips = 1980;
constexpr int HeightTwips = 285;

std::u16string_view utf16(const std::wstring& text)
{
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

SIZE innerPixels(HWND control)
{
    RECT inner{};
    GetClientRect(control, &inner);
    return {inner.right - inner.left, inner.bottom - inner.top};
}

} // namespace

void ipBox::registerClasses()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_INTERNET_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ipBox::windowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        windowClass.lpszClassName = ControlClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

ipBox::ipBox(HWND parent, int x, int y, Child child)
{
    registerClasses();
    const HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    CreateWindowExW(0, ControlClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                    Twips::toPixels(WidthTwips, dotsPerInch),
                    Twips::toPixels(HeightTwips, dotsPerInch), parent, nullptr,
                    GetModuleHandleW(nullptr), this);
    UserControl_Initialize(child);
}

ipBox::~ipBox()
{
    DestroyWindow(window_);
}

LRESULT CALLBACK ipBox::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE) {
        auto* created = static_cast<ipBox*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        created->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* control = reinterpret_cast<ipBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_SIZE && control)
        control->UserControl_Resize();
    return DefWindowProcW(window, message, w, l);
}

void ipBox::UserControl_Initialize(Child child)
{
    if (child == Child::Create)
        CreateTextBox();
    setAddress(WindowsText::wide(DefaultNetworkAddress));
}

void ipBox::CreateTextBox()
{
    const SIZE inner = innerPixels(window_);
    hIPWnd = CreateWindowExA(WS_EX_CLIENTEDGE, "SysIPAddress32", "",
                             WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 0, inner.cx,
                             inner.cy, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (hIPWnd)
        SendMessageW(hIPWnd, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

void ipBox::UserControl_Resize()
{
    const SIZE inner = innerPixels(window_);
    if (hIPWnd)
        MoveWindow(hIPWnd, 0, 0, inner.cx, inner.cy, TRUE);
}

std::int16_t ipBox::CountIF(const std::wstring& lzExpr, const std::wstring& nChar) const
{
    return IpAddressRules::countOf(utf16(lzExpr), utf16(nChar));
}

// The child packs the first part into the highest byte; copied as it lies in memory, the
// first part is the last of the four bytes.
std::wstring ipBox::GetAddressText() const
{
    DWORD packed = 0;
    if (hIPWnd)
        SendMessageW(hIPWnd, IPM_GETADDRESS, 0, LPARAM(&packed));
    BYTE parts[4];
    RtlMoveMemory(parts, &packed, sizeof parts);
    const std::uint32_t address = std::uint32_t(parts[3]) << 24 | std::uint32_t(parts[2]) << 16 |
                                  std::uint32_t(parts[1]) << 8 | parts[0];
    return WindowsText::wide(IpAddressRules::dotted(address));
}

std::wstring ipBox::Address() const
{
    return GetAddressText();
}

void ipBox::setAddress(const std::wstring& NewIP)
{
    const std::uint32_t packed = IpAddressRules::packedAddress(utf16(NewIP));
    if (hIPWnd)
        SendMessageW(hIPWnd, IPM_SETADDRESS, 0, LPARAM(packed));
}
