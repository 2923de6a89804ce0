#include "ApplyProfileDialog.h"

#include "DialogWindow.h"
#include "SystemPorts.h"
#include "WindowsText.h"

#include <commctrl.h>

namespace
{

constexpr wchar_t WindowClass[] = L"BlackMarkSetup.ApplyProfile";
// The run's news: something finished, to be taken on this thread.
constexpr UINT RunNews = WM_APP + 1;
constexpr int ClientWidth = 640;
constexpr int ClientHeight = 500;

const wchar_t* const Columns[] = {L"Printer", L"Maker and model", L"Result", L"Reason", L"Time"};
constexpr int ColumnWidths[] = {172, 160, 56, 180, 48};

} // namespace

ApplyProfileDialog::ApplyProfileDialog(HWND owner, HINSTANCE instance, FleetRun::SdkMaker makeSdk,
                                       std::vector<std::string> found)
    : owner_(owner), instance_(instance), messages_(window_), files_(window_)
{
    dotsPerInch_ = DialogWindow::screenDotsPerInch();
    font_ = DialogWindow::messageFont(9, dotsPerInch_);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    DialogWindow::registerClass(instance_, WindowClass, windowProcedure);

    // Not clipping its children: the group box leaves its inside for the dialog to paint.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, MulDiv(ClientWidth, dotsPerInch_, 96), MulDiv(ClientHeight, dotsPerInch_, 96)};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    CreateWindowExW(WS_EX_DLGMODALFRAME, WindowClass, WindowTitle, style, CW_USEDEFAULT,
                    CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner_,
                    nullptr, instance_, this);
    createControls(found.size());
    const HWND window = window_;
    model_.emplace(*this, messages_, files_, std::move(makeSdk), SystemDevicePaths,
                   std::move(found), [window] { PostMessageW(window, RunNews, 0, 0); });
}

ApplyProfileDialog::~ApplyProfileDialog()
{
    model_.reset(); // stops a run and waits for the printers at work
    if (window_)
        DestroyWindow(window_);
    DeleteObject(font_);
}

HWND ApplyProfileDialog::make(const wchar_t* kind, const std::wstring& text, DWORD style, int id,
                              int x, int y, int width, int height, DWORD extendedStyle)
{
    const auto scaled = [this](int pixels) { return MulDiv(pixels, dotsPerInch_, 96); };
    return DialogWindow::addControl(window_, font_, kind, text.c_str(), style, extendedStyle,
                                    scaled(x), scaled(y), scaled(width), scaled(height), id);
}

void ApplyProfileDialog::createControls(std::size_t foundCount)
{
    const DWORD edit = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
    const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
    make(WC_STATICW, L"Profile:", SS_LEFT, -1, 10, 14, 70, 18);
    make(WC_EDITW, L"", edit, ProfilePath, 85, 10, 450, 24, WS_EX_CLIENTEDGE);
    make(WC_BUTTONW, L"Browse\u2026", button, ProfileBrowse, 545, 10, 85, 24);
    make(WC_BUTTONW, L"Printers", BS_GROUPBOX, -1, 10, 42, 620, 150);
    make(WC_BUTTONW, L"A list file", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, ListFileChoice, 20,
         62, 110, 20);
    make(WC_EDITW, L"", edit, ListPath, 135, 60, 400, 24, WS_EX_CLIENTEDGE);
    make(WC_BUTTONW, L"Browse\u2026", button, ListBrowse, 545, 60, 75, 24);
    make(WC_BUTTONW, L"These lines", BS_AUTORADIOBUTTON, PastedChoice, 20, 92, 110, 20);
    make(WC_EDITW, L"",
         ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
         PastedLines, 135, 90, 485, 64, WS_EX_CLIENTEDGE);
    make(WC_BUTTONW, L"The printers found by the search (" + std::to_wstring(foundCount) + L")",
         BS_AUTORADIOBUTTON, FoundChoice, 20, 162, 400, 20);
    SendMessageW(control(ListFileChoice), BM_SETCHECK, BST_CHECKED, 0);
    make(WC_STATICW, L"Jobs:", SS_LEFT, -1, 10, 206, 70, 18);
    make(WC_EDITW, std::to_wstring(FleetRun::DefaultJobs), edit | ES_NUMBER | WS_GROUP, Jobs, 85,
         202, 50, 24, WS_EX_CLIENTEDGE);
    make(WC_BUTTONW, L"Force: also printers that cannot print now", BS_AUTOCHECKBOX | WS_TABSTOP,
         Force, 150, 204, 400, 20);
    make(WC_BUTTONW, L"Apply", button, Apply, 10, 236, 90, 26);
    make(WC_BUTTONW, L"Stop", button, Stop, 110, 236, 90, 26);
    make(PROGRESS_CLASSW, L"", 0, Progress, 210, 238, 420, 22);
    const HWND table =
        make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | WS_TABSTOP, Table,
             10, 270, 620, 186, WS_EX_CLIENTEDGE);
    SendMessageW(table, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < 5; ++column) {
        LVCOLUMNW entry{};
        entry.mask = LVCF_TEXT | LVCF_WIDTH;
        entry.pszText = const_cast<wchar_t*>(Columns[column]);
        entry.cx = MulDiv(ColumnWidths[column], dotsPerInch_, 96);
        SendMessageW(table, LVM_INSERTCOLUMNW, WPARAM(column), LPARAM(&entry));
    }
    make(WC_BUTTONW, L"Save report\u2026", button, SaveReport, 430, 466, 110, 26);
    make(WC_BUTTONW, L"Close", button, Close, 550, 466, 80, 26);
}

void ApplyProfileDialog::exec()
{
    DialogWindow::showModal(owner_, window_, control(ProfilePath));
    DialogWindow::runMessages(window_, [this] { return window_ != nullptr; });
    DialogWindow::giveBackOwner(owner_);
    model_.reset(); // a run still at work is stopped and waited for
    if (window_)
        DestroyWindow(window_);
}

LRESULT CALLBACK ApplyProfileDialog::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto* dialog = DialogWindow::ownerOf(window, message, l, &ApplyProfileDialog::window_);
    return dialog ? dialog->handle(window, message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT ApplyProfileDialog::handle(HWND window, UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(w) == BN_CLICKED)
            command(LOWORD(w));
        return 0;
    case RunNews:
        if (model_)
            model_->deliver();
        return 0;
    case WM_CLOSE:
        if (model_)
            model_->stop();
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

void ApplyProfileDialog::command(int id)
{
    switch (id) {
    case ProfileBrowse:
        if (const auto path = model_->browseProfile())
            SetWindowTextW(control(ProfilePath), WindowsText::wide(*path).c_str());
        break;
    case ListBrowse:
        if (const auto path = model_->browseList()) {
            SetWindowTextW(control(ListPath), WindowsText::wide(*path).c_str());
            CheckRadioButton(window_, ListFileChoice, FoundChoice, ListFileChoice);
        }
        break;
    case Apply:
        model_->apply(request());
        break;
    case Stop:
        model_->stop();
        break;
    case SaveReport:
        model_->saveReport();
        break;
    case Close:
    case IDCANCEL:
        PostMessageW(window_, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

std::string ApplyProfileDialog::textOf(int id) const
{
    return DialogWindow::windowText(control(id));
}

bool ApplyProfileDialog::checked(int id) const
{
    return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

ApplyProfileModel::Request ApplyProfileDialog::request() const
{
    using Printers = ApplyProfileModel::Request::Printers;
    ApplyProfileModel::Request request;
    request.profilePath = textOf(ProfilePath);
    request.printers = checked(PastedChoice)  ? Printers::Pasted
                       : checked(FoundChoice) ? Printers::Found
                                              : Printers::ListFile;
    request.listPath = textOf(ListPath);
    // The edit ends its lines in CR LF; the list takes LF.
    for (char c : textOf(PastedLines)) {
        if (c != '\r')
            request.pastedLines += c;
    }
    request.jobs = textOf(Jobs);
    request.force = checked(Force);
    return request;
}

void ApplyProfileDialog::showRunning(bool running, bool reportReady)
{
    for (int id : {ProfilePath, ProfileBrowse, ListFileChoice, ListPath, ListBrowse, PastedChoice,
                   PastedLines, FoundChoice, Jobs, Force, Apply})
        EnableWindow(control(id), !running);
    EnableWindow(control(Stop), running);
    EnableWindow(control(SaveReport), reportReady && !running);
}

void ApplyProfileDialog::showProgress(std::size_t done, std::size_t total)
{
    SendMessageW(control(Progress), PBM_SETRANGE32, 0, LPARAM(std::max<std::size_t>(total, 1)));
    SendMessageW(control(Progress), PBM_SETPOS, WPARAM(done), 0);
}

void ApplyProfileDialog::clearRows()
{
    SendMessageW(control(Table), LVM_DELETEALLITEMS, 0, 0);
}

void ApplyProfileDialog::addRow(const std::array<std::string, 5>& cells)
{
    const HWND table = control(Table);
    const int row = int(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < 5; ++column) {
        std::wstring text = WindowsText::wide(cells[std::size_t(column)]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.iSubItem = column;
        item.pszText = text.data();
        SendMessageW(table, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, WPARAM(row),
                     LPARAM(&item));
    }
    SendMessageW(table, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}
