#pragma once

#include <functional>

// What the window's menu items ask of a window on any toolkit: the dialogs it opens, and its
// busy show around an item that talks to the printer.
class MenuView
{
public:
    virtual ~MenuView() = default;

    virtual void openProfile() = 0;
    virtual void saveProfile() = 0;
    virtual void openApplyDialog() = 0;
    virtual void findPrinters() = 0;
    virtual void openPaperLayout() = 0;
    virtual void openPaperPreview() = 0;
    virtual void showAbout() = 0;
    // Runs the work with the window shown busy until it returns.
    virtual void whileBusy(const std::function<void()>& work) = 0;
};
