#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "ipBox.h"

#include <commctrl.h>
#include <doctest/doctest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace
{

// A form that places the control, as a program's window would.
struct Host {
    HWND window = CreateWindowExW(0, WC_STATICW, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ~Host() { DestroyWindow(window); }
};

// The four fields of the child, left to right.
std::vector<HWND> fields(HWND child)
{
    std::vector<HWND> found;
    EnumChildWindows(
        child,
        [](HWND field, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(field);
            return TRUE;
        },
        LPARAM(&found));
    const auto left = [](HWND field) {
        RECT place;
        GetWindowRect(field, &place);
        return place.left;
    };
    std::sort(found.begin(), found.end(), [&](HWND a, HWND b) { return left(a) < left(b); });
    return found;
}

// What the child shows, its fields joined by dots.
std::wstring shown(HWND child)
{
    std::wstring text;
    for (HWND field : fields(child)) {
        wchar_t part[16] = {};
        GetWindowTextW(field, part, 16);
        text += (text.empty() ? L"" : L".") + std::wstring(part);
    }
    return text;
}

// "number description" of the error that the action throws; empty when it throws none.
std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const IpBoxError& error) {
        return std::to_string(error.number()) + " " + error.description();
    }
    return {};
}

// How the thread's address controls were made and what fonts its windows were sent, as hooks
// see them before any control changes its own style.
struct Seen {
    CREATESTRUCTW made{};
    std::wstring name;
    std::vector<std::pair<HWND, WPARAM>> fonts;
} seen;

LRESULT CALLBACK onCreate(int code, WPARAM w, LPARAM l)
{
    char className[32] = {};
    if (code == HCBT_CREATEWND && GetClassNameA(HWND(w), className, sizeof className) &&
        std::string(className) == "SysIPAddress32") {
        seen.made = *reinterpret_cast<CBT_CREATEWNDW*>(l)->lpcs;
        seen.name = seen.made.lpszName ? seen.made.lpszName : L"(none)";
    }
    return CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK onSend(int code, WPARAM w, LPARAM l)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(l);
    if (sent->message == WM_SETFONT)
        seen.fonts.emplace_back(sent->hwnd, sent->wParam);
    return CallNextHookEx(nullptr, code, w, l);
}

RECT placeInParent(HWND child)
{
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

} // namespace

TEST_CASE("a new ipBox holds the default address in a SysIPAddress32 child over the control")
{
    Host host;
    const HHOOK creates = SetWindowsHookExW(WH_CBT, onCreate, nullptr, GetCurrentThreadId());
    const HHOOK sends = SetWindowsHookExW(WH_CALLWNDPROC, onSend, nullptr, GetCurrentThreadId());
    const ipBox box(host.window, 10, 20);
    UnhookWindowsHookEx(creates);
    UnhookWindowsHookEx(sends);
    REQUIRE(box.hIPWnd != nullptr);
    RECT inner;
    GetClientRect(box.window(), &inner);
    CHECK(inner.right == 132); // 1980 twips at 96 dots per inch
    const CREATESTRUCTW& made = seen.made;
    CHECK(made.dwExStyle == WS_EX_CLIENTEDGE);
    CHECK(seen.name.empty());
    CHECK(made.style == 0x50810000);
    CHECK((made.x == 0 && made.y == 0 && made.cx == inner.right && made.cy == inner.bottom));
    CHECK(made.hwndParent == box.window());
    CHECK(made.hMenu == nullptr);
    CHECK(made.hInstance == GetModuleHandleW(nullptr));
    CHECK(made.lpCreateParams == nullptr);
    const std::pair<HWND, WPARAM> font(box.hIPWnd, WPARAM(GetStockObject(DEFAULT_GUI_FONT)));
    CHECK(std::count(seen.fonts.begin(), seen.fonts.end(), font) == 1);
    const RECT child = placeInParent(box.hIPWnd);
    CHECK((child.left == 0 && child.top == 0));
    CHECK((child.right == inner.right && child.bottom == inner.bottom));
    CHECK(box.Address() == L"192.168.123.100");
    CHECK(shown(box.hIPWnd) == L"192.168.123.100");
}

TEST_CASE("Address writes: what the child then shows and reads, or the error with the child kept")
{
    struct Row {
        const wchar_t* written;
        std::string error;
        const wchar_t* reads;
    };
    const std::string formatError = "102 " + std::string(IpBoxError::AddressFormatDescription);
    const Row rows[] = {
        {L"010.001.000.255", "", L"10.1.0.255"},
        {L"1.2.3.4.5", "", L"1.2.3.4"},
        {L" 7 . +8 .9. 10 ", "", L"7.8.9.10"},
        {L"1.2.3", formatError, L"192.168.123.100"},
        {L"256.1.1.1", "6 Overflow", L"192.168.123.100"},
        {L"1..2.3", "13 Type mismatch", L"192.168.123.100"},
        {L"a.b.c.300", "6 Overflow", L"192.168.123.100"},
    };
    Host host;
    for (const Row& row : rows) {
        CAPTURE(std::string(row.written, row.written + wcslen(row.written)));
        ipBox box(host.window, 0, 0);
        CHECK(errorOf([&] { box.setAddress(row.written); }) == row.error);
        CHECK(box.Address() == row.reads);
        CHECK(shown(box.hIPWnd) == row.reads);
    }
}

TEST_CASE("a blank field reads as 0")
{
    Host host;
    const ipBox box(host.window, 0, 0);
    SetWindowTextW(fields(box.hIPWnd).at(1), L"");
    CHECK(box.Address() == L"192.0.123.100");
}

TEST_CASE("without a child the address reads 0.0.0.0 and writes are still checked")
{
    Host host;
    ipBox box(host.window, 0, 0, ipBox::Child::None);
    CHECK(box.hIPWnd == nullptr);
    CHECK(box.Address() == L"0.0.0.0");
    CHECK(errorOf([&] { box.setAddress(L"1.2.3"); }).starts_with("102 "));
    CHECK(errorOf([&] { box.setAddress(L"1.2.3.4"); }).empty());
    CHECK(box.Address() == L"0.0.0.0");
}

TEST_CASE("CountIF counts the first character of the key")
{
    Host host;
    const ipBox box(host.window, 0, 0);
    const std::map<std::pair<std::wstring, std::wstring>, std::string> rows = {
        {{L"1.2.3.4", L"."}, "3"},
        {{L"a.b", L".x"}, "1"},
        {{L"", L""}, "0"},
        {{L"abc", L""}, "5 Invalid procedure call or argument"},
        {{std::wstring(16384, L'.'), L"."}, "6 Overflow"},
        {{std::wstring(16383, L'.'), L"."}, "16383"},
    };
    for (const auto& [texts, counted] : rows) {
        std::string result;
        const std::string error =
            errorOf([&] { result = std::to_string(box.CountIF(texts.first, texts.second)); });
        CHECK((error.empty() ? result : error) == counted);
    }
}

TEST_CASE("a second CreateTextBox makes a new child, and the control talks only to it")
{
    Host host;
    ipBox box(host.window, 0, 0);
    const HWND first = box.hIPWnd;
    box.CreateTextBox();
    REQUIRE(box.hIPWnd != nullptr);
    CHECK(box.hIPWnd != first);
    CHECK(IsWindow(first));
    box.setAddress(L"5.6.7.8");
    CHECK(shown(box.hIPWnd) == L"5.6.7.8");
    CHECK(shown(first) == L"192.168.123.100");
    SetWindowTextW(fields(first).at(0), L"9");
    CHECK(box.Address() == L"5.6.7.8");
}

TEST_CASE("resizing the control moves its child over the new inner size")
{
    Host host;
    const ipBox box(host.window, 0, 0);
    MoveWindow(box.window(), 5, 5, 300, 40, TRUE);
    RECT inner, child = placeInParent(box.hIPWnd);
    GetClientRect(box.window(), &inner);
    CHECK(inner.right == 300);
    CHECK((child.left == 0 && child.top == 0 && child.right == 300 && child.bottom == 40));
}
