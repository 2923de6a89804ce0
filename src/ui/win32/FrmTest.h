#pragma once

#include "FrmTestModel.h"
#include "FrmTestView.h"
#include "MenuBar.h"
#include "MenuView.h"
#include "MessageBoxMessages.h"
#include "PaperPreviewWindow.h"

#include <windows.h>

#include <array>
#include <memory>

class PrinterSdk;

// The tool's only window on Win32: the controls of the window's model, placed in pixels at
// the display's DPI as it lays them out in twips, with their events handed to it.
class FrmTest : public FrmTestView, private MenuView
{
public:
    FrmTest(HINSTANCE instance, PrinterSdk& sdk,
            FrmTestModel::PrinterNames installedPrinters = platformPrinterNames);
    ~FrmTest() override;
    FrmTest(const FrmTest&) = delete;
    FrmTest& operator=(const FrmTest&) = delete;

    static std::vector<std::string> platformPrinterNames();

    void show(int showCommand);
    // Runs the window's messages until it is closed; the program's exit code.
    int runMessageLoop();

    HWND window() const { return window_; }
    // View ▸ Paper preview…, its window made when first opened.
    PaperPreviewWindow* paperPreview() const { return paperPreview_.get(); }

    // Opens the item's dialog, or runs the item.
    void runMenu(MenuCommand command);

private:
    void addItem(const Control& list, const std::string& text) override;
    void selectItem(const Control& list, int index) override;
    int selectedIndex(const Control& list) const override;
    int itemCount(const Control& list) const override;
    void setText(const Control& control, const std::string& text) override;
    std::string text(const Control& control) const override;
    void setEnabled(const Control& control, bool enabled) override;
    void unload() override;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(HWND window, UINT message, WPARAM w, LPARAM l);
    void createWindow();
    void createMenuBar();
    void findPrinters() override;
    void openPaperLayout() override;
    void openPaperPreview() override;
    void showAbout() override;
    void whileBusy(const std::function<void()>& work) override;
    void createControls();
    void setTabOrder();
    void command(int id, int code);
    void run(FrmTestLayout::Handler handler);
    LRESULT paintRed(HDC context, HWND control);
    void measureItem(MEASUREITEMSTRUCT& item) const;
    void drawItem(const DRAWITEMSTRUCT& item) const;
    bool swallowsEnterOrEscape(const MSG& message) const;
    int pixels(int twips) const;
    // File ▸ Open profile…, Save profile… and Apply a profile to printers…
    void openProfile() override;
    void saveProfile() override;
    void openApplyDialog() override;

    HWND handleOf(const Control& control) const;
    const Control* controlOf(HWND handle) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;
    int dotsPerInch_ = 96;
    HFONT windowFont_ = nullptr;
    HFONT portLabelFont_ = nullptr;
    std::array<HWND, FrmTestLayout::Controls.size()> controls_{};
    MessageBoxMessages messages_;
    FrmTestModel model_;
    std::unique_ptr<PaperPreviewWindow> paperPreview_;
};
