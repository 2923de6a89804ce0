#pragma once

#include "ApplyProfileModel.h"
#include "ApplyProfileView.h"
#include "DialogFileChooser.h"
#include "MessageBoxMessages.h"

#include <windows.h>

#include <optional>

// File ▸ Apply a profile to printers… on Win32: a window built in code, modal to its owner,
// with the apply dialog's model behind it; the run's news come back as posted messages.
class ApplyProfileDialog : public ApplyProfileView
{
public:
    ApplyProfileDialog(HWND owner, HINSTANCE instance, FleetRun::SdkMaker makeSdk,
                       std::vector<std::string> found);
    ~ApplyProfileDialog() override;
    ApplyProfileDialog(const ApplyProfileDialog&) = delete;
    ApplyProfileDialog& operator=(const ApplyProfileDialog&) = delete;

    // Shows the dialog and runs its messages until it is closed; the owner is off meanwhile.
    void exec();

    static constexpr const wchar_t* WindowTitle = L"Apply a profile to printers";

private:
    enum Id {
        ProfilePath = 100,
        ProfileBrowse,
        ListFileChoice,
        ListPath,
        ListBrowse,
        PastedChoice,
        PastedLines,
        FoundChoice,
        Jobs,
        Force,
        Apply,
        Stop,
        Progress,
        Table,
        SaveReport,
        Close,
    };

    void showRunning(bool running, bool reportReady) override;
    void showProgress(std::size_t done, std::size_t total) override;
    void clearRows() override;
    void addRow(const std::array<std::string, 5>& cells) override;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(HWND window, UINT message, WPARAM w, LPARAM l);
    void createControls(std::size_t foundCount);
    HWND make(const wchar_t* kind, const std::wstring& text, DWORD style, int id, int x, int y,
              int width, int height, DWORD extendedStyle = 0);
    void command(int id);
    ApplyProfileModel::Request request() const;
    std::string textOf(int id) const;
    bool checked(int id) const;
    HWND control(int id) const { return GetDlgItem(window_, id); }

    HWND owner_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    int dotsPerInch_ = 96;
    MessageBoxMessages messages_;
    DialogFileChooser files_;
    std::optional<ApplyProfileModel> model_;
};
