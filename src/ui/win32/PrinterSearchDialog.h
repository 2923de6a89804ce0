#pragma once

#include "MessageBoxMessages.h"
#include "PrinterSearch.h"
#include "PrinterSearchView.h"

#include <windows.h>

// Printer ▸ Find printers on the network… on Win32: a modal window built in code with the
// search's controls, their events handed to its model, and its progress posted to the window.
class PrinterSearchDialog : public PrinterSearchView
{
public:
    // The raw printing port of every address, asked with the probe's bounds.
    static PrinterSearch::Settings networkSettings();

    PrinterSearchDialog(HWND owner, FrmTestModel& window, PrinterSearch::Settings settings,
                        PrinterSearch::OwnAddresses ownAddresses);
    ~PrinterSearchDialog() override;
    PrinterSearchDialog(const PrinterSearchDialog&) = delete;
    PrinterSearchDialog& operator=(const PrinterSearchDialog&) = delete;

    // Shows the dialog, the owner disabled, until it is closed.
    void runModal();

private:
    void setRangesText(const std::string& text) override;
    std::string rangesText() const override;
    void setProgress(std::size_t tried, std::size_t total) override;
    void setSummary(const std::string& text) override;
    void clearRows() override;
    void insertRow(std::size_t at, const PrinterSearchRow& row) override;
    void setSearching(bool searching) override;
    void wake() override;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void createWindow();
    void createControls();
    HWND add(const wchar_t* kind, const wchar_t* text, DWORD style, int id, RECT place,
             DWORD extendedStyle = 0);
    void command(int id);
    void chooseSelected();
    void close();
    int pixels(int at96) const;

    HWND owner_;
    HWND window_ = nullptr;
    HWND ranges_ = nullptr, find_ = nullptr, stop_ = nullptr, progress_ = nullptr;
    HWND summary_ = nullptr, printers_ = nullptr, use_ = nullptr;
    HWND lastFocus_ = nullptr;
    HFONT font_ = nullptr;
    int dotsPerInch_ = 96;
    bool searching_ = false;
    bool closed_ = false;
    MessageBoxMessages messages_;
    PrinterSearch search_;
};
