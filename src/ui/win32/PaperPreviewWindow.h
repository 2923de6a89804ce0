#pragma once

#include "PaperPreview.h"

#include <windows.h>

#include <string>

// View ▸ Paper preview… on Win32: a window of its own, owned by the main window, with the
// paper's boxes, the values in words and the paper drawn with GDI. The main window tells it when
// its distance boxes change; it looks at the paper layout's values on a timer.
class PaperPreviewWindow
{
public:
    PaperPreviewWindow(HINSTANCE instance, HWND owner, HFONT font, PaperPreview& preview,
                       const PaperLayoutValues& layout);
    ~PaperPreviewWindow();
    PaperPreviewWindow(const PaperPreviewWindow&) = delete;
    PaperPreviewWindow& operator=(const PaperPreviewWindow&) = delete;

    // Shows the window, made again if it was closed.
    void open();
    HWND window() const { return window_; }
    // The main window's boxes changed: drawn again when open.
    void changed();
    const PaperPreview::Geometry& geometry() const { return geometry_; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(HWND window, UINT message, WPARAM w, LPARAM l);
    void createControls();
    void refresh();
    void paint(HDC context, const RECT& area) const;

    HINSTANCE instance_;
    HWND owner_;
    HFONT font_;
    HWND window_ = nullptr;
    HWND source_ = nullptr, kind_ = nullptr, pitch_ = nullptr, length_ = nullptr, width_ = nullptr,
         said_ = nullptr;
    const PaperLayoutValues& layout_;
    PaperLayoutValues drawnLayout_;
    PaperPreview& preview_;
    PaperPreview::Geometry geometry_;
};
