#include "PrinterSearchDialog.h"

#include "DialogWindow.h"
#include "ProbePort.h"
#include "WindowsText.h"

#include <commctrl.h>

namespace
{

constexpr wchar_t WindowClass[] = L"BlackMarkSetup.PrinterSearch";
// The search's thread asks for its progress to be shown with this message.
constexpr UINT ProgressMessage = WM_APP + 1;
// Enter presses Find (IDOK), Esc closes (IDCANCEL), as the dialog manager sends them.
enum Id { Find = IDOK, Close = IDCANCEL, Ranges = 100, Stop, Progress, Summary, Printers, Use };

} // namespace

PrinterSearch::Settings PrinterSearchDialog::networkSettings()
{
    return {[] { return makeProbePort(Discovery::DefaultTimeoutMs); }};
}

PrinterSearchDialog::PrinterSearchDialog(HWND owner, FrmTestModel& window,
                                         PrinterSearch::Settings settings,
                                         PrinterSearch::OwnAddresses ownAddresses)
    : owner_(owner), dotsPerInch_(DialogWindow::screenDotsPerInch()), messages_(window_),
      search_(*this, window, messages_, std::move(ownAddresses), std::move(settings))
{
    font_ = DialogWindow::messageFont();
    createWindow();
    createControls();
    search_.open();
}

PrinterSearchDialog::~PrinterSearchDialog()
{
    search_.close();
    if (window_)
        DestroyWindow(window_);
    DeleteObject(font_);
}

int PrinterSearchDialog::pixels(int at96) const
{
    return MulDiv(at96, dotsPerInch_, 96);
}

void PrinterSearchDialog::createWindow()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        DialogWindow::registerClass(GetModuleHandleW(nullptr), WindowClass, windowProcedure);
        return true;
    }();
    (void)registered;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame{0, 0, pixels(600), pixels(380)};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    RECT ownerPlace{};
    GetWindowRect(owner_, &ownerPlace);
    CreateWindowExW(WS_EX_DLGMODALFRAME, WindowClass,
                    WindowsText::wide(PrinterSearch::Title).c_str(), style, ownerPlace.left + 20,
                    ownerPlace.top + 20, frame.right - frame.left, frame.bottom - frame.top, owner_,
                    nullptr, GetModuleHandleW(nullptr), this);
}

HWND PrinterSearchDialog::add(const wchar_t* kind, const wchar_t* text, DWORD style, int id,
                              RECT place, DWORD extendedStyle)
{
    return DialogWindow::addControl(window_, font_, kind, text, style, extendedStyle,
                                    pixels(int(place.left)), pixels(int(place.top)),
                                    pixels(int(place.right)), pixels(int(place.bottom)), id);
}

void PrinterSearchDialog::createControls()
{
    // Places at 96 dots per inch: left, top, width, height.
    add(WC_STATICW, L"&Ranges to search:", SS_LEFT, -1, {10, 14, 110, 20});
    ranges_ = add(WC_EDITW, L"", ES_AUTOHSCROLL | WS_TABSTOP, Ranges, {120, 10, 300, 24},
                  WS_EX_CLIENTEDGE);
    find_ = add(WC_BUTTONW, L"&Find", BS_DEFPUSHBUTTON | WS_TABSTOP, Find, {430, 9, 75, 26});
    stop_ = add(WC_BUTTONW, L"&Stop", BS_PUSHBUTTON | WS_TABSTOP, Stop, {515, 9, 75, 26});
    progress_ = add(PROGRESS_CLASSW, L"", 0, Progress, {10, 44, 580, 18});
    summary_ = add(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, Summary, {10, 68, 580, 20});
    printers_ = add(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                    Printers, {10, 92, 580, 240}, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(printers_, LVS_EX_FULLROWSELECT);
    const struct {
        const wchar_t* caption;
        int width;
    } columns[] = {{L"Address", 110}, {L"Maker and model", 220}, {L"Ready, or why not", 240}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(columns[i].caption);
        column.cx = pixels(columns[i].width);
        ListView_InsertColumn(printers_, i, &column);
    }
    use_ =
        add(WC_BUTTONW, L"&Use this printer", BS_PUSHBUTTON | WS_TABSTOP, Use, {380, 344, 120, 26});
    add(WC_BUTTONW, L"Close", BS_PUSHBUTTON | WS_TABSTOP, Close, {510, 344, 80, 26});
    EnableWindow(use_, FALSE);
}

void PrinterSearchDialog::runModal()
{
    DialogWindow::showModal(owner_, window_, ranges_);
    if (!DialogWindow::runMessages(window_, [this] { return !closed_; }))
        close(); // the program ends
    DialogWindow::giveBackOwner(owner_);
    ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK PrinterSearchDialog::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto* dialog = DialogWindow::ownerOf(window, message, l, &PrinterSearchDialog::window_);
    return dialog ? dialog->handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT PrinterSearchDialog::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(w) == BN_CLICKED)
            command(LOWORD(w));
        return 0;
    case WM_NOTIFY: {
        const auto* note = reinterpret_cast<const NMHDR*>(l);
        if (note->hwndFrom == printers_ && note->code == LVN_ITEMACTIVATE)
            chooseSelected();
        else if (note->hwndFrom == printers_ && note->code == LVN_ITEMCHANGED)
            EnableWindow(use_, ListView_GetSelectedCount(printers_) > 0);
        return 0;
    }
    case ProgressMessage:
        search_.showProgress();
        return 0;
    case WM_SETCURSOR:
        // The dialog answers while the search runs; the cursor says that it works.
        if (searching_ && LOWORD(l) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        // The focus comes back where it was, after a message box too.
        if (LOWORD(w) == WA_INACTIVE && IsChild(window_, GetFocus()))
            lastFocus_ = GetFocus();
        break;
    case WM_SETFOCUS:
        SetFocus(lastFocus_ && IsWindowEnabled(lastFocus_) ? lastFocus_ : ranges_);
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_DESTROY:
        // With its owner: the search ends, and so does the modal loop.
        search_.stop();
        closed_ = true;
        return 0;
    }
    return DefWindowProcW(window_, message, w, l);
}

void PrinterSearchDialog::command(int id)
{
    switch (id) {
    case Find:
        // Enter in the list chooses its printer; anywhere else it searches.
        if (GetFocus() == printers_)
            chooseSelected();
        else
            search_.find();
        break;
    case Stop:
        search_.stop();
        break;
    case Use:
        chooseSelected();
        break;
    case Close:
        close();
        break;
    }
}

void PrinterSearchDialog::chooseSelected()
{
    const int row = ListView_GetNextItem(printers_, -1, LVNI_SELECTED);
    if (row < 0)
        return;
    search_.choose(std::size_t(row));
    close();
}

void PrinterSearchDialog::close()
{
    search_.close();
    closed_ = true;
}

void PrinterSearchDialog::setRangesText(const std::string& text)
{
    SetWindowTextW(ranges_, WindowsText::wide(text).c_str());
}

std::string PrinterSearchDialog::rangesText() const
{
    return DialogWindow::windowText(ranges_);
}

void PrinterSearchDialog::setProgress(std::size_t tried, std::size_t total)
{
    SendMessageW(progress_, PBM_SETRANGE32, 0, LPARAM(total));
    SendMessageW(progress_, PBM_SETPOS, WPARAM(tried), 0);
}

void PrinterSearchDialog::setSummary(const std::string& text)
{
    SetWindowTextW(summary_, WindowsText::wide(text).c_str());
}

void PrinterSearchDialog::clearRows()
{
    ListView_DeleteAllItems(printers_);
    EnableWindow(use_, FALSE);
}

void PrinterSearchDialog::insertRow(std::size_t at, const PrinterSearchRow& row)
{
    const std::wstring texts[] = {WindowsText::wide(row.address),
                                  WindowsText::wide(row.makerAndModel),
                                  WindowsText::wide(row.state)};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = int(at);
    item.pszText = const_cast<wchar_t*>(texts[0].c_str());
    const int index = ListView_InsertItem(printers_, &item);
    for (int column = 1; column < 3; ++column)
        ListView_SetItemText(printers_, index, column, const_cast<wchar_t*>(texts[column].c_str()));
}

void PrinterSearchDialog::setSearching(bool searching)
{
    searching_ = searching;
    EnableWindow(find_, !searching);
    EnableWindow(stop_, searching);
    SendMessageW(ranges_, EM_SETREADONLY, WPARAM(searching), 0);
    // Find is off while it runs: the focus goes where the next key is useful.
    if (searching) {
        SetFocus(stop_);
    } else if (ListView_GetItemCount(printers_) > 0) {
        ListView_SetItemState(printers_, 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        SetFocus(printers_);
    } else {
        SetFocus(ranges_);
    }
    POINT cursor;
    GetCursorPos(&cursor);
    SetCursorPos(cursor.x, cursor.y); // the cursor's shape follows at once
}

void PrinterSearchDialog::wake()
{
    // Dropped by the system once the window is gone.
    PostMessageW(window_, ProgressMessage, 0, 0);
}
