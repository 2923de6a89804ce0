#include "PaperLayoutDialog.h"

#include "BusyCursor.h"
#include "DialogWindow.h"
#include "Twips.h"
#include "WindowsText.h"

#include <commctrl.h>

#include <algorithm>

namespace
{

constexpr wchar_t WindowClass[] = L"BlackMarkSetup.PaperLayout";
enum Id {
    KindId = 100,
    FirstDistanceId = 101,
    KeepId = 105,
    SetId = 110,
    ReadBackId = 111,
    TestPrintId = 112,
    TestCutId = 113,
    StatusId = 120,
    LabelId = 130,
};
// In twips, as the main window is laid out.
constexpr int Margin = 180, RowStep = 420, RowHeight = 315, LabelWidth = 1800, FieldLeft = 2040,
              FieldWidth = 2700, ButtonWidth = 1020, ButtonStep = 1080, ClientWidth = 5760,
              ClientHeight = 3960;
constexpr const char* DistanceKeys[] = {
    "P&itch (mm):", "Print &start (mm):", "&Cut (mm):", "&Bottom (mm):"};
struct Button {
    int id;
    const char* caption;
};
constexpr Button Buttons[] = {{SetId, "S&et"},
                              {ReadBackId, "&Read back"},
                              {TestPrintId, "&Test print"},
                              {TestCutId, "Test c&ut"},
                              {IDCANCEL, "Cl&ose"}};

} // namespace

PaperLayoutDialog::PaperLayoutDialog(HINSTANCE instance, HWND owner, HFONT font, int dotsPerInch,
                                     PaperLayoutValues& values, PrinterSdk& sdk, PortOfWindow port,
                                     PaperLayoutModel::SetHook whenSet)
    : instance_(instance), owner_(owner), font_(font), dotsPerInch_(dotsPerInch),
      messages_(window_), model_(values, sdk, messages_, std::move(whenSet)), port_(std::move(port))
{
}

PaperLayoutDialog::~PaperLayoutDialog()
{
    if (window_)
        close();
}

int PaperLayoutDialog::pixels(int twips) const
{
    return Twips::toPixels(twips, dotsPerInch_);
}

void PaperLayoutDialog::createWindow()
{
    DialogWindow::registerClass(instance_, WindowClass, windowProcedure);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, pixels(ClientWidth), pixels(ClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    RECT ownerPlace{};
    GetWindowRect(owner_, &ownerPlace);
    CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, WindowClass,
                    WindowsText::wide(PaperLayoutModel::Title).c_str(), style,
                    ownerPlace.left + pixels(Margin * 2), ownerPlace.top + pixels(Margin * 4),
                    frame.right - frame.left, frame.bottom - frame.top, owner_, nullptr, instance_,
                    this);
}

HWND PaperLayoutDialog::add(const wchar_t* kind, std::string_view text, DWORD style,
                            DWORD extendedStyle, int left, int top, int width, int height, int id)
{
    return DialogWindow::addControl(window_, font_, kind, WindowsText::wide(text).c_str(), style,
                                    extendedStyle, pixels(left), pixels(top), pixels(width),
                                    pixels(height), id);
}

// Each label comes just before its control, so that its access key reaches that control.
void PaperLayoutDialog::createControls()
{
    PaperLayoutValues& values = model_.values();
    add(WC_STATICW, "&Paper:", SS_LEFT, 0, Margin, Margin + 45, LabelWidth, RowHeight, LabelId);
    kind_ = add(WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, FieldLeft, Margin,
                FieldWidth, RowHeight + 1500, KindId);
    for (PaperLayout::Kind kind : PaperLayoutModel::Kinds)
        SendMessageW(kind_, CB_ADDSTRING, 0,
                     LPARAM(WindowsText::wide(PaperLayoutModel::kindCaption(kind)).c_str()));
    const auto at =
        std::find(PaperLayoutModel::Kinds.begin(), PaperLayoutModel::Kinds.end(), values.kind);
    SendMessageW(kind_, CB_SETCURSEL, WPARAM(at - PaperLayoutModel::Kinds.begin()), 0);
    for (std::size_t i = 0; i < distances_.size(); ++i) {
        const int top = Margin + int(i + 1) * RowStep;
        add(WC_STATICW, DistanceKeys[i], SS_LEFT, 0, Margin, top + 45, LabelWidth, RowHeight,
            LabelId + 1 + int(i));
        distances_[i] = add(WC_EDITW, model_.text(PaperLayoutModel::Distances[i]),
                            ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, FieldLeft, top,
                            FieldWidth, RowHeight, FirstDistanceId + int(i));
    }
    keep_ = add(WC_BUTTONW, "&Keep after power-off", BS_AUTOCHECKBOX | WS_TABSTOP, 0, FieldLeft,
                Margin + 5 * RowStep, FieldWidth, RowHeight, KeepId);
    SendMessageW(keep_, BM_SETCHECK, values.keepAfterPowerOff ? BST_CHECKED : BST_UNCHECKED, 0);
    for (std::size_t i = 0; i < std::size(Buttons); ++i)
        add(WC_BUTTONW, Buttons[i].caption, BS_PUSHBUTTON | WS_TABSTOP, 0,
            Margin + int(i) * ButtonStep, Margin + 6 * RowStep + 90, ButtonWidth, 360,
            Buttons[i].id);
    status_ = add(WC_STATICW, "", SS_LEFT | SS_NOPREFIX, 0, Margin, Margin + 7 * RowStep + 120,
                  ClientWidth - 2 * Margin, 600, StatusId);
    showKind();
}

void PaperLayoutDialog::run()
{
    createWindow();
    createControls();
    DialogWindow::showModal(owner_, window_, kind_);
    DialogWindow::runMessages(window_, [this] { return window_ != nullptr; });
    if (window_)
        close();
}

LRESULT CALLBACK PaperLayoutDialog::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto* dialog = DialogWindow::ownerOf(window, message, l, &PaperLayoutDialog::window_);
    return dialog ? dialog->handle(window, message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT PaperLayoutDialog::handle(HWND window, UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(w), HIWORD(w));
        return 0;
    case WM_NEXTDLGCTL: // a label's access key, from IsDialogMessage, as a dialog takes it
        focus(LOWORD(l) ? reinterpret_cast<HWND>(w)
                        : GetNextDlgTabItem(window, GetFocus(), w != 0));
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_DESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

void PaperLayoutDialog::command(int id, int code)
{
    switch (id) {
    case KindId:
        if (code == CBN_SELCHANGE) {
            const LRESULT index = SendMessageW(kind_, CB_GETCURSEL, 0, 0);
            if (index >= 0 && index < LRESULT(PaperLayoutModel::Kinds.size()))
                model_.values().kind = PaperLayoutModel::Kinds[std::size_t(index)];
            showKind();
        }
        break;
    case SetId:
        act(&PaperLayoutModel::set);
        break;
    case ReadBackId:
        act(&PaperLayoutModel::readBack);
        break;
    case TestPrintId:
        act(&PaperLayoutModel::testPrint);
        break;
    case TestCutId:
        act(&PaperLayoutModel::testCut);
        break;
    case IDCANCEL: // Esc, or Close
        close();
        break;
    }
}

void PaperLayoutDialog::focus(HWND control)
{
    SetFocus(control);
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(control, EM_SETSEL, 0, -1);
}

void PaperLayoutDialog::showKind()
{
    for (std::size_t i = 0; i < distances_.size(); ++i)
        EnableWindow(distances_[i],
                     PaperLayoutModel::takes(model_.values().kind, PaperLayoutModel::Distances[i]));
}

// What the boxes hold now, into the window's model, which keeps it for the whole run.
void PaperLayoutDialog::collect()
{
    for (std::size_t i = 0; i < distances_.size(); ++i)
        model_.text(PaperLayoutModel::Distances[i]) = DialogWindow::windowText(distances_[i]);
    model_.values().keepAfterPowerOff = SendMessageW(keep_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void PaperLayoutDialog::act(bool (PaperLayoutModel::*action)(const PortSettings&))
{
    collect();
    {
        BusyCursor busy;
        (model_.*action)(port_());
    }
    SetWindowTextW(status_, WindowsText::wide(model_.status()).c_str());
}

void PaperLayoutDialog::close()
{
    collect();
    DialogWindow::giveBackOwner(owner_);
    DestroyWindow(window_);
}
