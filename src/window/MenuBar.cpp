#include "MenuBar.h"

#include <string>

namespace MenuBar
{

namespace
{

constexpr Item FileItems[] = {
    {"&Open profile…", MenuCommand::OpenProfile},
    {"&Save profile…", MenuCommand::SaveProfile},
    {"&Apply a profile to printers…", MenuCommand::ApplyProfile},
};
constexpr Item PrinterItems[] = {
    {"&Who is it?", MenuCommand::WhoIsIt},
    {"&Can it print?", MenuCommand::CanItPrint},
    {"&Find printers on the network…", MenuCommand::FindPrinters},
    {"Paper &layout…", MenuCommand::PaperLayout},
};
constexpr Item ViewItems[] = {
    {"Paper &preview…", MenuCommand::PaperPreview},
};
constexpr Item HelpItems[] = {
    {"&About", MenuCommand::About},
};

} // namespace

const std::array<Menu, 4> Menus = {{
    {"&File", FileItems},
    {"&Printer", PrinterItems},
    {"&View", ViewItems},
    {"&Help", HelpItems},
}};

bool talksToPrinter(MenuCommand command)
{
    return command == MenuCommand::WhoIsIt || command == MenuCommand::CanItPrint;
}

UserMessage aboutMessage(std::string_view version)
{
    return {"blackmark-setup " + std::string(version), "About", UserMessage::Icon::Information,
            "Sets up the black-mark function of ESC/POS receipt and label printers.\n"
            "MIT License. Copyright (c) 2026 The blackmark developers."};
}

} // namespace MenuBar
