// Lets the shell tests drive and check the real programs under wine:
//   places [DPI]               the menu bar's height, then each window control and its centre
//                              in the window's pixels, below the menu bar
//   box TITLE BOUND_MS         the text and icon of a message box, then presses its OK
//   idle TITLE BOUND_MS        waits until the window is shown and its thread takes messages
//   answer MODE NAME BAUD HEX BOUND_MS   a document sent through our SDK and what came back
#include "FrmTestLayout.h"
#include "HexCommandText.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"
#include "UnicodeText.h"
#include "WindowsText.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

namespace
{

// "menu 19", then "Text2_0 284 138": where a click lands in the middle of the control. The
// menu bar lies above the client area, within the window that takes the clicks.
int places(int dotsPerInch)
{
    const int menu = GetSystemMetricsForDpi(SM_CYMENU, UINT(dotsPerInch));
    std::cout << "menu " << menu << '\n';
    for (const FrmTestLayout::Control& control : FrmTestLayout::Controls) {
        const Twips::Rect& r = control.place;
        std::cout << FrmTestLayout::objectName(control) << ' '
                  << Twips::toPixels(r.left + r.width / 2, dotsPerInch) << ' '
                  << menu + Twips::toPixels(r.top + r.height / 2, dotsPerInch) << '\n';
    }
    return 0;
}

constexpr int IconSize = 32;

// A 32 by 32 bitmap to draw in; what was drawn comes back as its pixels.
class Canvas
{
public:
    Canvas() : context_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO format{};
        format.bmiHeader = {
            sizeof(BITMAPINFOHEADER), IconSize, IconSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = CreateDIBSection(context_, &format, DIB_RGB_COLORS, &bits_, nullptr, 0);
        before_ = SelectObject(context_, bitmap_);
    }
    ~Canvas()
    {
        SelectObject(context_, before_);
        DeleteObject(bitmap_);
        DeleteDC(context_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC context() const { return context_; }
    std::vector<std::uint32_t> pixels() const
    {
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits_);
        return {first, first + IconSize * IconSize};
    }

private:
    HDC context_;
    HBITMAP bitmap_;
    HGDIOBJ before_;
    void* bits_ = nullptr;
};

// The icon a message box shows, told by its pixels on the screen: icons themselves belong to
// the process that loaded them.
const char* iconKind(HWND iconControl)
{
    RECT place;
    GetWindowRect(iconControl, &place);
    Canvas shown;
    const HDC screen = GetDC(nullptr);
    BitBlt(shown.context(), 0, 0, IconSize, IconSize, screen, place.left, place.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    const std::vector<std::uint32_t> seen = shown.pixels();
    const auto differences = [&](LPCWSTR standardIcon) {
        Canvas drawn;
        const HBRUSH background = CreateSolidBrush(seen.front() & 0xFFFFFF);
        const RECT all{0, 0, IconSize, IconSize};
        FillRect(drawn.context(), &all, background);
        DeleteObject(background);
        DrawIconEx(drawn.context(), 0, 0, LoadIconW(nullptr, standardIcon), IconSize, IconSize, 0,
                   nullptr, DI_NORMAL);
        const std::vector<std::uint32_t> expected = drawn.pixels();
        int count = 0;
        for (std::size_t i = 0; i < seen.size(); ++i)
            count += (seen[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF);
        return count;
    };
    const int error = differences(IDI_ERROR), warning = differences(IDI_WARNING);
    const int close = IconSize * IconSize / 10;
    return error < warning && error < close     ? "error"
           : warning < error && warning < close ? "warning"
                                                : "other";
}

struct BoxContents {
    std::wstring text;
    HWND icon = nullptr;
    int buttons = 0;
};

BoxContents contentsOf(HWND box)
{
    BoxContents contents;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM found) {
            auto& box = *reinterpret_cast<BoxContents*>(found);
            wchar_t kind[32] = {}, text[2048] = {};
            GetClassNameW(child, kind, 32);
            GetWindowTextW(child, text, 2048);
            if (lstrcmpiW(kind, L"Button") == 0)
                ++box.buttons;
            else if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                box.icon = child;
            else if (lstrcmpiW(kind, L"Static") == 0 && text[0])
                box.text = text;
            return TRUE;
        },
        LPARAM(&contents));
    return contents;
}

// Prints "icon error|warning|other", "buttons N" and the text, then closes the box with OK.
int readBox(const std::string& title, int boundMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    HWND box = nullptr;
    while (!(box = FindWindowW(L"#32770", WindowsText::wide(title).c_str())) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!box) {
        std::cout << "no box \"" << title << "\" within " << boundMs << " ms\n";
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // filled in after it appears
    const BoxContents contents = contentsOf(box);
    std::cout << "icon " << (contents.icon ? iconKind(contents.icon) : "none") << "\nbuttons "
              << contents.buttons << '\n'
              << WindowsText::utf8(contents.text) << '\n';
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    while (IsWindow(box) && std::chrono::steady_clock::now() < end + std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return IsWindow(box) ? 1 : 0;
}

// A window that is shown and whose thread answers a message is drawn and not inside a press:
// clicks reach it. Says "idle", or whether the window was missing or did not answer.
int idle(const std::string& title, int boundMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    const std::wstring name = WindowsText::wide(title);
    for (HWND window = nullptr;; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
        window = FindWindowW(nullptr, name.c_str());
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        DWORD_PTR result = 0;
        if (window && IsWindowVisible(window) &&
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                UINT(std::max<long long>(left.count(), 1)), &result)) {
            std::cout << "idle\n";
            return 0;
        }
        if (std::chrono::steady_clock::now() >= end) {
            std::cout << (window ? "busy" : "no window") << " after " << boundMs << " ms\n";
            return 1;
        }
    }
}

int answer(std::int32_t mode, const std::string& name, std::int32_t baudRate, std::string hex,
           std::int32_t boundMs)
{
    SystemPrinterSdk sdk(systemPortFor);
    const std::int32_t handle = sdk.POS_Open(name, baudRate, 8, 0, 0, mode);
    if (handle < 0) {
        std::cout << "open: " << sdk.lastFailure() << '\n';
        return 1;
    }
    const std::vector<std::uint8_t> bytes = encodeHexCommandText(hex).bytes;
    sdk.POS_StartDoc();
    sdk.POS_WriteFile(handle, reinterpret_cast<const char*>(bytes.data()),
                      std::int32_t(bytes.size()));
    char buffer[64];
    const std::int32_t read = sdk.POS_ReadFile(handle, buffer, sizeof buffer, boundMs);
    std::cout << "read: " << read;
    for (std::int32_t i = 0; i < read; ++i)
        std::cout << ' ' << UnicodeText::hex(std::uint8_t(buffer[i]), 2);
    std::cout << (read < 0 ? " " + sdk.lastFailure() : "") << '\n';
    sdk.POS_EndDoc();
    std::cout << "close: " << (sdk.POS_Close() < 0 ? sdk.lastFailure() : "ok") << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    const auto number = [&](std::size_t at, int otherwise) {
        return words.size() > at ? std::stoi(words[at]) : otherwise;
    };
    if (!words.empty() && words[0] == "places")
        return places(number(1, 96));
    if (words.size() == 3 && words[0] == "box")
        return readBox(words[1], number(2, 0));
    if (words.size() == 3 && words[0] == "idle")
        return idle(words[1], number(2, 0));
    if (words.size() == 6 && words[0] == "answer")
        return answer(number(1, 0), words[2], number(3, 0), words[4], number(5, 0));
    std::cerr
        << "usage: tst_probe places [DPI] | box TITLE BOUND_MS | idle TITLE BOUND_MS | answer "
           "MODE NAME BAUD HEX BOUND_MS\n";
    return 2;
}
