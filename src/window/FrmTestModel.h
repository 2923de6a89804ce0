#pragma once

#include "BlackMarkCatalogue.h"
#include "CommandSender.h"
#include "FrmTestLayout.h"
#include "PaperLayoutValues.h"
#include "WindowValues.h"

#include <functional>
#include <string>
#include <vector>

class FrmTestView;
class PrinterSdk;

// The main window's behaviour, whatever draws it: the load steps, the port list's enabling
// rule and what each button does with what the window shows at the press.
class FrmTestModel
{
public:
    // The platform's installed printers, in the platform's order.
    using PrinterNames = std::function<std::vector<std::string>()>;

    FrmTestModel(FrmTestView& view, PrinterSdk& sdk, UserMessages& messages,
                 PrinterNames installedPrinters);

    // Fills the lists and boxes; runs once, before the window is first shown.
    void Form_Load();
    // Runs the handler of one event.
    void run(FrmTestLayout::Handler handler);
    // Whether the handler talks to the printer, which can take seconds: the view shows it busy.
    static bool talksToPrinter(FrmTestLayout::Handler handler);

    // What the port controls show now: the port a press sends to.
    PortSettings portSettings() const;
    const WindowValues& windowValues() const { return values_; }

    // For the menus' dialogs: the window's printer access and boxes.
    PrinterSdk& sdk() const { return sdk_; }
    UserMessages& messages() const { return messages_; }

    // The last search's printers, one line each in the form of a list of printers.
    const std::vector<std::string>& foundPrinters() const { return foundPrinters_; }
    void setFoundPrinters(std::vector<std::string> printers)
    {
        foundPrinters_ = std::move(printers);
    }
    // The paper layout as the dialog holds it, kept for the whole run.
    PaperLayoutValues& paperLayoutValues() { return paperLayoutValues_; }

private:
    void applyPortEnabling();
    std::string boxText(int row) const;

    FrmTestView& view_;
    PrinterSdk& sdk_;
    UserMessages& messages_;
    PrinterNames installedPrinters_;
    WindowValues values_;
    CommandSender sender_;
    BlackMarkCatalogue catalogue_;
    std::vector<std::string> foundPrinters_;
    PaperLayoutValues paperLayoutValues_;
};
