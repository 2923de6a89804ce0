#pragma once

#include "BlackMarkCatalogue.h"
#include "CommandSender.h"
#include "FrmTestLayout.h"
#include "MenuBar.h"
#include "PaperLayoutValues.h"
#include "PaperPreview.h"
#include "SentSettings.h"
#include "WindowValues.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class FrmTestView;
class MenuView;
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
    // Runs a menu item: the printer's questions here, with the window busy meanwhile; each
    // dialog through the view.
    void runMenu(MenuCommand command, MenuView& view);

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
    // What View ▸ Paper preview draws, kept whether or not its window is open, so that it knows
    // which box of each pair was typed into last.
    PaperPreview& paperPreview() { return paperPreview_; }
    // The distance box `row` changed: by the load, by a profile or by the user.
    void Text2_Change(int row);
    // A printer found on the network becomes the port: ETHERNET, as a user picks it, at the
    // address as the address box takes it.
    void chooseNetworkPrinter(const std::string& address);

    // What the printer took in this run, for File ▸ Save profile.
    const SentSettings& sentSettings() const { return sent_; }
    // The paper layout dialog's Set went through with these values.
    void layoutSet(const PaperLayoutValues& values);
    // Shows a profile's values: each of the six distance boxes and the on/off list that it
    // gives; the others keep what they show.
    void showSettings(const std::array<std::optional<std::string>, 6>& boxes,
                      std::optional<int> switchIndex);

private:
    void runMenuItem(MenuCommand command, MenuView& view);
    void applyPortEnabling();
    void recordSent(const SendOutcome& outcome, int row);
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
    PaperPreview paperPreview_{paperLayoutValues_};
    bool loaded_ = false;
    SentSettings sent_;
};
