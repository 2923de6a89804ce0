#include "FrmTest.h"

#include "BusyCursor.h"
#include "DialogWindow.h"
#include "NetworkInterfaces.h"
#include "PaperLayoutDialog.h"
#include "PrinterSearchDialog.h"
#include "SpoolerQueues.h"
#include "WindowsText.h"

#include <commctrl.h>

#include <optional>

using FrmTestLayout::ControlKind;
using FrmTestLayout::Controls;
using FrmTestLayout::Handler;

namespace
{

constexpr wchar_t WindowClass[] = L"BlackMarkSetup.FrmTest";
constexpr int IconResource = 1;
// Control ids start above IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr int FirstControlId = 100;
// Menu items' ids lie above every control's.
constexpr int FirstMenuId = 1000;
constexpr COLORREF Red = RGB(255, 0, 0);
// The part of a list that drops down, below its box.
constexpr int DroppedListTwips = 3000;
constexpr int VisibleEntries = 14;
constexpr std::string_view WindowFace = "MS Sans Serif";
constexpr double WindowPoints = 8.0;

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

ControlClass classOf(const FrmTestLayout::Control& control)
{
    switch (control.kind) {
    case ControlKind::Label:
        return {WC_STATICW, SS_LEFT, 0};
    case ControlKind::TextBox:
        return {WC_EDITW, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
        return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::EditableList:
        return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::SelectionList:
        // A list with red text draws its entries itself, which no theme can recolour.
        return {WC_COMBOBOXW,
                DWORD(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP |
                      (control.redText ? CBS_OWNERDRAWFIXED | CBS_HASSTRINGS : 0)),
                0};
    }
    return {WC_STATICW, 0, 0};
}

bool isList(const FrmTestLayout::Control& control)
{
    return control.kind == ControlKind::EditableList || control.kind == ControlKind::SelectionList;
}

HFONT makeFont(int dotsPerInch, double points, int weight, std::string_view face)
{
    return CreateFontW(-MulDiv(int(points * 100 + 0.5), dotsPerInch, 7200), 0, 0, 0, weight, FALSE,
                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, WindowsText::wide(face).c_str());
}

std::string listEntry(HWND list, int index)
{
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(std::size_t(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    text.resize(std::size_t(length));
    return WindowsText::utf8(text);
}

} // namespace

FrmTest::FrmTest(HINSTANCE instance, PrinterSdk& sdk, FrmTestModel::PrinterNames installedPrinters)
    : instance_(instance), dotsPerInch_(DialogWindow::screenDotsPerInch()), messages_(window_),
      model_(*this, sdk, messages_, std::move(installedPrinters))
{
    windowFont_ = makeFont(dotsPerInch_, WindowPoints, FW_NORMAL, WindowFace);
    portLabelFont_ = makeFont(dotsPerInch_, FrmTestLayout::PortLabelPoints,
                              FrmTestLayout::PortLabelWeight, FrmTestLayout::PortLabelFace);
    createWindow();
    createMenuBar();
    createControls();
    setTabOrder();
    model_.Form_Load();
    lastFocus_ = handleOf(FrmTestLayout::control("Combo1"));
}

FrmTest::~FrmTest()
{
    if (window_)
        DestroyWindow(window_);
    DeleteObject(windowFont_);
    DeleteObject(portLabelFont_);
}

std::vector<std::string> FrmTest::platformPrinterNames()
{
    return SpoolerQueues::names();
}

int FrmTest::pixels(int twips) const
{
    return Twips::toPixels(twips, dotsPerInch_);
}

void FrmTest::createWindow()
{
    DialogWindow::registerClass(
        instance_, WindowClass, windowProcedure,
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IconResource), IMAGE_ICON, 0, 0,
                                      LR_DEFAULTSIZE)),
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IconResource), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                      0)));

    // A fixed single border with the system menu and the close button, and nothing to
    // minimize or maximize it.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame{0, 0, pixels(FrmTestLayout::ClientWidth), pixels(FrmTestLayout::ClientHeight)};
    AdjustWindowRectEx(&frame, style, TRUE, 0); // with the menu bar, outside the client area
    CreateWindowExW(0, WindowClass, WindowsText::wide(FrmTestLayout::Title).c_str(), style,
                    CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                    frame.bottom - frame.top, nullptr, nullptr, instance_, this);
}

void FrmTest::createMenuBar()
{
    const HMENU bar = CreateMenu();
    for (const MenuBar::Menu& menu : MenuBar::Menus) {
        const HMENU items = CreatePopupMenu();
        for (const MenuBar::Item& item : menu.items)
            AppendMenuW(items, MF_STRING, UINT_PTR(FirstMenuId + int(item.command)),
                        WindowsText::wide(item.caption).c_str());
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(items),
                    WindowsText::wide(menu.caption).c_str());
    }
    SetMenu(window_, bar); // destroyed with the window
}

void FrmTest::runMenu(MenuCommand command)
{
    model_.runMenu(command, *this);
}

void FrmTest::openPaperLayout()
{
    PaperLayoutDialog(
        instance_, window_, windowFont_, dotsPerInch_, model_.paperLayoutValues(), model_.sdk(),
        [this] { return model_.portSettings(); },
        [this](const PaperLayoutValues& values) { model_.layoutSet(values); })
        .run();
}

void FrmTest::openPaperPreview()
{
    // Made when first opened, so that the window starts without it.
    if (!paperPreview_)
        paperPreview_ = std::make_unique<PaperPreviewWindow>(
            instance_, window_, windowFont_, model_.paperPreview(), model_.paperLayoutValues());
    paperPreview_->open();
}

void FrmTest::showAbout()
{
    messages_.show(MenuBar::aboutMessage(PROJECT_VERSION));
}

void FrmTest::whileBusy(const std::function<void()>& work)
{
    BusyCursor busy;
    work();
}

void FrmTest::createControls()
{
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const FrmTestLayout::Control& control = Controls[i];
        const ControlClass kind = classOf(control);
        const Twips::Rect& place = control.place;
        const int height = pixels(place.height) + (isList(control) ? pixels(DroppedListTwips) : 0);
        const HWND handle = CreateWindowExW(
            kind.extendedStyle, kind.name, WindowsText::wide(control.caption).c_str(),
            kind.style | WS_CHILD | WS_VISIBLE, pixels(place.left), pixels(place.top),
            pixels(place.width), height, window_, reinterpret_cast<HMENU>(FirstControlId + i),
            instance_, nullptr);
        const bool portLabel = control.font == FrmTestLayout::Font::PortLabel;
        SendMessageW(handle, WM_SETFONT, WPARAM(portLabel ? portLabelFont_ : windowFont_), FALSE);
        if (isList(control))
            SendMessageW(handle, CB_SETMINVISIBLE, VisibleEntries, 0);
        controls_[i] = handle;
    }
}

// Tab goes through the controls in the order of their windows, which is the layout's.
void FrmTest::setTabOrder()
{
    HWND previous = HWND_TOP;
    for (const FrmTestLayout::Control* control : FrmTestLayout::tabOrder()) {
        const HWND handle = handleOf(*control);
        SetWindowPos(handle, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = handle;
    }
}

void FrmTest::show(int showCommand)
{
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    SetFocus(lastFocus_);
}

// No button is the default or the cancel button: Enter and Esc go to the focused control,
// which presses nothing, unless it wants them itself, as a list that is dropped down does.
bool FrmTest::swallowsEnterOrEscape(const MSG& message) const
{
    if (message.message != WM_KEYDOWN ||
        (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE))
        return false;
    const LRESULT wants = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam,
                                       reinterpret_cast<LPARAM>(&message));
    return !(wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE));
}

int FrmTest::runMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window_ && swallowsEnterOrEscape(message))
            DispatchMessageW(&message);
        else if (!window_ || !IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return int(message.wParam);
}

LRESULT CALLBACK FrmTest::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto* form = DialogWindow::ownerOf(window, message, l, &FrmTest::window_);
    return form ? form->handle(window, message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT FrmTest::handle(HWND window, UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(w), HIWORD(w));
        return 0;
    case WM_CTLCOLOREDIT:
        return paintRed(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_MEASUREITEM:
        measureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(l));
        return TRUE;
    case WM_DRAWITEM:
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE && IsChild(window_, GetFocus()))
            lastFocus_ = GetFocus();
        break;
    case WM_SETFOCUS:
        SetFocus(lastFocus_);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        controls_ = {};
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

void FrmTest::command(int id, int code)
{
    if (code == 0 && id >= FirstMenuId && id < FirstMenuId + MenuBar::CommandCount) {
        runMenu(MenuCommand(id - FirstMenuId));
        return;
    }
    const int index = id - FirstControlId;
    if (index < 0 || index >= int(Controls.size()))
        return; // IDOK and IDCANCEL from Enter and Esc press nothing
    const FrmTestLayout::Control& control = Controls[std::size_t(index)];
    const HWND handle = controls_[std::size_t(index)];
    if (control.kind == ControlKind::PushButton && code == BN_CLICKED) {
        run(control.onClick);
    } else if (isList(control) && code == CBN_SELCHANGE) {
        // The box shows the picked entry only after this; the handler reads it now.
        if (control.kind == ControlKind::EditableList)
            SetWindowTextW(handle,
                           WindowsText::wide(listEntry(handle, selectedIndex(control))).c_str());
        run(control.onClick);
    } else if (isList(control) && code == CBN_EDITCHANGE) {
        run(control.onChange);
    } else if (control.name == "Text2" && code == EN_CHANGE) {
        model_.Text2_Change(control.index);
        if (paperPreview_)
            paperPreview_->changed();
    }
}

void FrmTest::run(Handler handler)
{
    std::optional<BusyCursor> busy;
    if (FrmTestModel::talksToPrinter(handler))
        busy.emplace();
    model_.run(handler);
}

LRESULT FrmTest::paintRed(HDC context, HWND handle)
{
    const FrmTestLayout::Control* control = controlOf(handle);
    if (!control || !control->redText)
        return DefWindowProcW(window_, WM_CTLCOLOREDIT, WPARAM(context), LPARAM(handle));
    SetTextColor(context, Red);
    SetBkColor(context, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void FrmTest::measureItem(MEASUREITEMSTRUCT& item) const
{
    // The box as high as the layout has it; the entries as high as a line of the font.
    const int boxHeight = pixels(FrmTestLayout::control("Combo4").place.height);
    item.itemHeight = UINT(item.itemID == UINT(-1) ? boxHeight - 6 : boxHeight - 8);
}

void FrmTest::drawItem(const DRAWITEMSTRUCT& item) const
{
    if (item.CtlType != ODT_COMBOBOX)
        return;
    const bool selected = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, disabled   ? GetSysColor(COLOR_GRAYTEXT)
                           : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                      : Red);
    if (item.itemID != UINT(-1)) {
        const std::wstring text = WindowsText::wide(listEntry(item.hwndItem, int(item.itemID)));
        RECT area = item.rcItem;
        area.left += 2;
        DrawTextW(item.hDC, text.c_str(), int(text.size()), &area,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

HWND FrmTest::handleOf(const Control& control) const
{
    return controls_[std::size_t(&control - Controls.data())];
}

const FrmTestLayout::Control* FrmTest::controlOf(HWND handle) const
{
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == handle)
            return &Controls[i];
    }
    return nullptr;
}

void FrmTest::addItem(const Control& list, const std::string& text)
{
    SendMessageW(handleOf(list), CB_ADDSTRING, 0, LPARAM(WindowsText::wide(text).c_str()));
}

void FrmTest::selectItem(const Control& list, int index)
{
    SendMessageW(handleOf(list), CB_SETCURSEL, WPARAM(index), 0);
    run(list.onClick); // the program's choice raises the click as a user's does
}

int FrmTest::selectedIndex(const Control& list) const
{
    return int(SendMessageW(handleOf(list), CB_GETCURSEL, 0, 0));
}

int FrmTest::itemCount(const Control& list) const
{
    return int(SendMessageW(handleOf(list), CB_GETCOUNT, 0, 0));
}

void FrmTest::setText(const Control& control, const std::string& text)
{
    SetWindowTextW(handleOf(control), WindowsText::wide(text).c_str());
}

std::string FrmTest::text(const Control& control) const
{
    if (control.kind == ControlKind::SelectionList)
        return listEntry(handleOf(control), selectedIndex(control));
    return DialogWindow::windowText(handleOf(control));
}

void FrmTest::setEnabled(const Control& control, bool enabled)
{
    EnableWindow(handleOf(control), enabled);
}

void FrmTest::unload()
{
    DestroyWindow(window_);
}

void FrmTest::findPrinters()
{
    PrinterSearchDialog dialog(window_, model_, PrinterSearchDialog::networkSettings(),
                               NetworkInterfaces::ipv4Addresses);
    dialog.runModal();
}
