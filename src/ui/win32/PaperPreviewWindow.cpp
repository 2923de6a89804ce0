#include "PaperPreviewWindow.h"

#include "DialogWindow.h"
#include "WindowsText.h"

#include <commctrl.h>

#include <algorithm>

namespace
{

constexpr wchar_t WindowClass[] = L"BlackMarkSetup.PaperPreview";
constexpr UINT_PTR LayoutTimer = 1;
constexpr int SourceId = 100, KindId = 101, PitchId = 102, LengthId = 103, WidthId = 104;
// Where the drawing starts, below the boxes and the lines of words; all in pixels.
constexpr int DrawingTop = 250, Border = 10;
const COLORREF MarkBlack = RGB(0, 0, 0), EdgeGrey = RGB(160, 160, 160), StartBlue = RGB(0, 0, 255),
               CutRed = RGB(255, 0, 0);

bool sameValues(const PaperLayoutValues& a, const PaperLayoutValues& b)
{
    return a.kind == b.kind && a.pitch == b.pitch && a.printStart == b.printStart &&
           a.cut == b.cut && a.bottom == b.bottom;
}

void fill(HDC context, int left, int top, int right, int bottom, COLORREF colour)
{
    const RECT box{left, top, std::max(right, left + 1), std::max(bottom, top + 1)};
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(context, &box, brush);
    DeleteObject(brush);
}

} // namespace

PaperPreviewWindow::PaperPreviewWindow(HINSTANCE instance, HWND owner, HFONT font,
                                       PaperPreview& preview, const PaperLayoutValues& layout)
    : instance_(instance), owner_(owner), font_(font), layout_(layout), drawnLayout_(layout),
      preview_(preview)
{
    DialogWindow::registerClass(instance_, WindowClass, windowProcedure);
}

PaperPreviewWindow::~PaperPreviewWindow()
{
    if (window_)
        DestroyWindow(window_);
}

void PaperPreviewWindow::open()
{
    if (!window_) {
        // Beside the main window, whose boxes stay in sight while they are typed into.
        RECT beside{};
        GetWindowRect(owner_, &beside);
        CreateWindowExW(0, WindowClass, L"Paper preview", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        beside.right + 8, beside.top, 540, 700, owner_, nullptr, instance_, this);
        createControls();
        SetTimer(window_, LayoutTimer, 250, nullptr);
        refresh();
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

void PaperPreviewWindow::createControls()
{
    const auto make = [this](const wchar_t* kind, const wchar_t* text, DWORD style, int x, int y,
                             int width, int height, int id = 0) {
        return DialogWindow::addControl(window_, font_, kind, text, style,
                                        kind == std::wstring(WC_EDITW) ? WS_EX_CLIENTEDGE : 0, x, y,
                                        width, height, id);
    };
    const DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    const DWORD edit = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
    const wchar_t* captions[] = {L"Values from", L"Paper", L"Pitch (mm)",
                                 L"Mark length or gap (mm)", L"Width (mm)"};
    for (int i = 0; i < 5; ++i)
        make(WC_STATICW, captions[i], SS_LEFT, Border, Border + 4 + i * 28, 150, 20);
    source_ = make(WC_COMBOBOXW, L"", list, 170, Border, 240, 200, SourceId);
    for (const wchar_t* entry : {L"The window's boxes", L"The paper layout dialog"})
        SendMessageW(source_, CB_ADDSTRING, 0, LPARAM(entry));
    SendMessageW(source_, CB_SETCURSEL,
                 WPARAM(preview_.source == PaperPreview::Source::PaperLayoutDialog), 0);
    kind_ = make(WC_COMBOBOXW, L"", list, 170, Border + 28, 240, 200, KindId);
    for (const wchar_t* entry : {L"Plain", L"Black marks", L"Labels"})
        SendMessageW(kind_, CB_ADDSTRING, 0, LPARAM(entry));
    SendMessageW(kind_, CB_SETCURSEL, WPARAM(preview_.paper.kind), 0);
    const auto box = [&](const std::string& text, int row, int id) {
        return make(WC_EDITW, WindowsText::wide(text).c_str(), edit, 170, Border + row * 28, 100,
                    22, id);
    };
    pitch_ = box(preview_.paper.pitch, 2, PitchId);
    length_ = box(preview_.paper.length, 3, LengthId);
    width_ = box(preview_.paper.width, 4, WidthId);
    said_ = make(WC_STATICW, L"", SS_LEFT | SS_NOPREFIX, Border, Border + 5 * 28 + 4, 520, 90);
}

void PaperPreviewWindow::changed()
{
    if (window_)
        refresh();
}

void PaperPreviewWindow::refresh()
{
    drawnLayout_ = layout_;
    const int kind = int(SendMessageW(kind_, CB_GETCURSEL, 0, 0));
    preview_.source = SendMessageW(source_, CB_GETCURSEL, 0, 0) == 1
                          ? PaperPreview::Source::PaperLayoutDialog
                          : PaperPreview::Source::WindowBoxes;
    preview_.paper = {PaperRoll::Kind(std::clamp(kind, 0, 2)), DialogWindow::windowText(pitch_),
                      DialogWindow::windowText(length_), DialogWindow::windowText(width_)};
    EnableWindow(pitch_, kind != 0);
    EnableWindow(length_, kind != 0);
    geometry_ = preview_.geometry();
    std::string lines;
    for (const std::string& line : geometry_.values)
        lines += line + "\r\n";
    lines += geometry_.problem;
    SetWindowTextW(said_, WindowsText::wide(lines).c_str());
    InvalidateRect(window_, nullptr, TRUE);
}

void PaperPreviewWindow::paint(HDC context, const RECT& area) const
{
    const PaperPreview::Geometry& g = geometry_;
    if (!g.problem.empty() || g.length <= 0)
        return;
    // Dots to pixels: the whole stretch fits the height, the paper half the width at most.
    const PaperRoll& roll = g.roll;
    const double zoom = std::min(double(area.bottom - DrawingTop - 2 * Border) / g.length,
                                 double(area.right) * 0.55 / roll.widthDots());
    const auto x = [zoom](int dots) { return Border + int(dots * zoom); };
    const auto y = [zoom](int dots) { return DrawingTop + int(dots * zoom); };
    const int margin = roll.leftMarginDots(), paperWidth = roll.widthDots();
    fill(context, x(0), y(0), x(paperWidth), y(g.length), RGB(255, 255, 255));
    for (const PaperRoll::Span& mark : g.marks) {
        if (roll.kind == PaperRoll::Kind::BlackMark) {
            fill(context, x(0), y(mark.from), x(margin), y(mark.to), MarkBlack);
        } else {
            fill(context, x(0), y(mark.from), x(paperWidth), y(mark.from) + 1, EdgeGrey);
            fill(context, x(0), y(mark.to), x(paperWidth), y(mark.to) + 1, EdgeGrey);
        }
    }
    for (const int at : g.printStarts)
        fill(context, x(paperWidth - margin + 4), y(at), x(paperWidth),
             y(at) + std::max(3, int(3 * zoom)), StartBlue);
    for (const int at : g.cuts)
        fill(context, x(0), y(at) - 1, x(paperWidth), y(at) + 1, CutRed);
    const HBRUSH outline = CreateSolidBrush(EdgeGrey);
    const RECT paper{x(0), y(0), x(paperWidth), y(g.length)};
    FrameRect(context, &paper, outline);
    DeleteObject(outline);

    // The legend, beside the paper.
    const int left = x(paperWidth) + 2 * Border;
    int line = DrawingTop;
    SelectObject(context, font_);
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
    const auto entry = [&](COLORREF colour, bool box, const wchar_t* words) {
        fill(context, left, line + (box ? 3 : 7), left + 14, line + (box ? 13 : 10), colour);
        TextOutW(context, left + 20, line, words, int(wcslen(words)));
        line += 20;
    };
    if (roll.kind == PaperRoll::Kind::BlackMark)
        entry(MarkBlack, true, L"black mark");
    else if (roll.kind == PaperRoll::Kind::Label)
        entry(EdgeGrey, false, L"label edge");
    entry(StartBlue, false, L"print start");
    entry(CutRed, false, L"cut");
    const std::wstring words = L"3 labels, each found after its mark, printed one line and cut; " +
                               std::to_wstring(g.length / DotsPerMm) + L" mm shown.";
    RECT box{left, line + 4, area.right - Border, line + 90};
    DrawTextW(context, words.c_str(), int(words.size()), &box, DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT CALLBACK PaperPreviewWindow::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto* preview = DialogWindow::ownerOf(window, message, l, &PaperPreviewWindow::window_);
    return preview ? preview->handle(window, message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT PaperPreviewWindow::handle(HWND window, UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        if ((HIWORD(w) == EN_CHANGE || HIWORD(w) == CBN_SELCHANGE) && said_)
            refresh();
        return 0;
    case WM_TIMER:
        if (w == LayoutTimer && !sameValues(layout_, drawnLayout_))
            refresh();
        return 0;
    case WM_SIZE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT painting;
        const HDC context = BeginPaint(window, &painting);
        RECT area;
        GetClientRect(window, &area);
        paint(context, area);
        EndPaint(window, &painting);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(window, LayoutTimer);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        source_ = kind_ = pitch_ = length_ = width_ = said_ = nullptr;
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}
